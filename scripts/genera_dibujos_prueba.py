#!/usr/bin/python3
"""Writes the real-world drawings of tests/dibujos/ with ezdxf (Debian's python3-ezdxf).

    /usr/bin/python3 scripts/genera_dibujos_prueba.py tests/dibujos

The tests read the files written here and never run this script: run it again only to change
them, and update the expected bytes in the tests to match. ezdxf stamps its version, the date
and random GUIDs into each file, so a new run changes those lines and nothing else.
"""
import sys
from pathlib import Path

import ezdxf


def simbolo(doc):
    # A map symbol drawn once around 0,0, as CAD programs define them: a POINT, a TEXT and a
    # POLYLINE that are parts of the block, not features of the map.
    blk = doc.blocks.new("POZO")
    blk.add_point((0, 0, 0), dxfattribs={"layer": "SIMBOLOS"})
    blk.add_text("P", dxfattribs={"layer": "SIMBOLOS", "height": 0.5, "insert": (0.2, 0.2)})
    blk.add_polyline2d([(-1, -1), (1, -1), (1, 1), (-1, 1)], close=True,
                       dxfattribs={"layer": "SIMBOLOS"})
    blk.add_attdef("NUM", (0, -1), dxfattribs={"height": 0.5})


def r12(destino):
    doc = ezdxf.new("R12", setup=True)
    msp = doc.modelspace()
    simbolo(doc)
    msp.add_point((452100.125, 4470310.5, 1100), dxfattribs={"layer": "VERTICE"})
    msp.add_text("Peñíscola", dxfattribs={"layer": "TOPONIMO", "height": 2.5,
                                          "insert": (452000, 4470000)})
    msp.add_polyline3d([(452100, 4470300, 10), (452110, 4470310, 11), (452120, 4470300, 12)],
                       dxfattribs={"layer": "CAMIÑO"})
    ins = msp.add_blockref("POZO", (452200, 4470400), dxfattribs={"layer": "POZOS"})
    ins.add_auto_attribs({"NUM": "17"})
    msp.add_line((452000, 4470000), (452010, 4470005), dxfattribs={"layer": "CERCA"})
    # A dimension's block holds its defining points, lines and text near the map's
    # coordinates: none of it may reach the .bin.
    dim = msp.add_linear_dim(base=(452000, 4470020), p1=(452000, 4470010),
                             p2=(452030, 4470010), dimstyle="EZDXF",
                             dxfattribs={"layer": "COTAS"})
    dim.render()
    doc.saveas(destino / "r12_simbolos_y_cotas.dxf")


def r2018(destino):
    doc = ezdxf.new("R2018", setup=True)
    msp = doc.modelspace()
    simbolo(doc)
    doc.layers.add("CAMIÑO")
    msp.add_point((452100.125, 4470310.5, 1100), dxfattribs={"layer": "CAMIÑO"})
    msp.add_text("Peñíscola", dxfattribs={"layer": "TOPONIMO", "height": 2.5,
                                          "insert": (452000, 4470000)})
    msp.add_lwpolyline([(452100, 4470300), (452110, 4470310), (452120, 4470300)], close=True,
                       dxfattribs={"layer": "CAMIÑO", "elevation": 5})
    msp.add_line((452000, 4470000, 1), (452010, 4470005, 2), dxfattribs={"layer": "CERCA"})
    msp.add_mtext("{\\fArial|b1;Río} Ebro\\PAzud", dxfattribs={
        "layer": "TOPONIMO", "char_height": 1.5, "insert": (452050, 4470050)})
    ins = msp.add_blockref("POZO", (452200, 4470400), dxfattribs={"layer": "POZOS"})
    ins.add_auto_attribs({"NUM": "17"})
    dim = msp.add_linear_dim(base=(452000, 4470020), p1=(452000, 4470010),
                             p2=(452030, 4470010), dimstyle="EZDXF",
                             dxfattribs={"layer": "COTAS"})
    dim.render()
    doc.saveas(destino / "r2018_utf8.dxf")


def curvas(destino):
    # What CAD programs draw with curves and faces, at map coordinates: circles, arcs and an
    # ellipse; polylines with bulges; entities mirrored by the extrusion (0, 0, -1); faces of
    # a terrain model; a polyface mesh.
    doc = ezdxf.new("R2000", setup=True)
    msp = doc.modelspace()
    capa = {"layer": "CURVAS"}
    espejo = {"layer": "CURVAS", "extrusion": (0, 0, -1)}
    msp.add_circle((452000.5, 4470000.25, 3), 10.0, dxfattribs=capa)
    msp.add_arc((452020, 4470000), 5.0, 30, 120, dxfattribs=capa)
    msp.add_ellipse((452040, 4470000), major_axis=(20, 10, 0), ratio=0.5, start_param=0.3,
                    end_param=2.0, dxfattribs=capa)
    msp.add_lwpolyline([(452000, 4470100, 0, 0, 0.5), (452010, 4470100, 0, 0, 0),
                        (452010, 4470110, 0, 0, -1)], format="xyseb", close=True,
                       dxfattribs=capa)
    msp.add_polyline2d([(452100, 4470100, 0, 0, 1), (452110, 4470100, 0, 0, 0),
                        (452120, 4470100, 0, 0, 0)], format="xyseb", dxfattribs=capa)
    msp.add_circle((-452000, 4470200, 0), 2.0, dxfattribs=espejo)
    msp.add_text("Espejo", dxfattribs={**espejo, "insert": (-452000, 4470200), "height": 1})
    msp.add_lwpolyline([(-452000, 4470300), (-452010, 4470300)], dxfattribs={**espejo, "elevation": 2})
    msp.add_3dface([(452000, 4470400, 1), (452001, 4470400, 2), (452001, 4470401, 3),
                    (452001, 4470401, 3)], dxfattribs={"layer": "TIN"})
    msp.add_solid([(452000, 4470500), (452001, 4470500), (452000, 4470501), (452001, 4470501)],
                  dxfattribs=capa)
    msp.add_trace([(452000, 4470600), (452001, 4470600), (452000, 4470601), (452001, 4470601)],
                  dxfattribs=capa)
    malla = msp.add_polyface(dxfattribs={"layer": "TIN"})
    malla.append_face([(452000, 4470700, 10), (452001, 4470700, 11), (452001, 4470701, 12)])
    malla.append_face([(452000, 4470700, 10), (452001, 4470701, 12), (452000, 4470701, 13)])
    malla.optimize()
    doc.saveas(destino / "r2000_curvas_y_caras.dxf")


def bloques(destino):
    # Blocks as CAD programs place them on a map: a symbol nested in a symbol, scaled,
    # rotated, mirrored by the extrusion (0, 0, -1), an array of rows and columns, attributes
    # (one invisible) and two rendered dimensions, whose lines and texts are a block of their own.
    doc = ezdxf.new("R2018", setup=True)
    msp = doc.modelspace()
    hoja = doc.blocks.new("HOJA", base_point=(1, 1))
    hoja.add_point((2, 2, 0))
    hoja.add_line((1, 1), (3, 1), dxfattribs={"layer": "CERCA"})
    hoja.add_circle((2, 2), 1.0)
    hoja.add_arc((2, 2), 0.5, 0, 135, dxfattribs={"layer": "CURVAS"})
    hoja.add_lwpolyline([(1, 1, 0, 0, 0.5), (3, 1, 0, 0, 0), (3, 3, 0, 0, 0)], format="xyseb",
                        close=True)
    hoja.add_text("h", dxfattribs={"height": 0.5, "insert": (1, 3)})
    arbol = doc.blocks.new("ARBOL")
    arbol.add_blockref("HOJA", (0, 0))
    arbol.add_blockref("HOJA", (10, 0), dxfattribs={"xscale": 2, "yscale": 0.5, "rotation": 30})
    arbol.add_blockref("HOJA", (0, 10), dxfattribs={"extrusion": (0, 0, -1)})
    arbol.add_ellipse((5, 5), major_axis=(3, 1, 0), ratio=0.4, start_param=0.5, end_param=4.0)
    arbol.add_mtext("Arbol", dxfattribs={"char_height": 0.8, "insert": (0, -2)})
    arbol.add_attdef("NUM", (0, -4), dxfattribs={"height": 0.5})
    capa = {"layer": "POZOS"}
    msp.add_blockref("ARBOL", (452000, 4470000), dxfattribs=capa)
    msp.add_blockref("ARBOL", (452100, 4470000),
                     dxfattribs={**capa, "xscale": 3, "yscale": 3, "zscale": 3, "rotation": 45})
    msp.add_blockref("ARBOL", (-452200, 4470000), dxfattribs={**capa, "extrusion": (0, 0, -1)})
    msp.add_blockref("ARBOL", (452000, 4470100), dxfattribs={**capa, "xscale": -1, "rotation": 10})
    matriz = msp.add_blockref("HOJA", (452300, 4470000), dxfattribs=capa)
    matriz.dxf.column_count = 3
    matriz.dxf.row_count = 2
    matriz.dxf.column_spacing = 5
    matriz.dxf.row_spacing = 7
    con_atributos = msp.add_blockref("ARBOL", (452400, 4470000), dxfattribs=capa)
    con_atributos.add_auto_attribs({"NUM": "17"})
    oculto = con_atributos.add_attrib("OCULTO", "no se ve", (452401, 4470001))
    oculto.dxf.flags = 1
    for base, p1, p2 in [((452000, 4470220), (452000, 4470210), (452030, 4470210)),
                         ((452100, 4470260), (452100, 4470250), (452120, 4470255))]:
        dim = msp.add_linear_dim(base=base, p1=p1, p2=p2, dimstyle="EZDXF",
                                 dxfattribs={"layer": "COTAS"})
        dim.render()
    doc.saveas(destino / "r2018_bloques.dxf")


def contornos(destino, version, nombre):
    # What GIS readers draw of a map beyond lines and curves, at map coordinates: splines
    # (clamped, rational, closed, through fit points only, a degree-2 one with a double inner
    # knot), hatches (polyline paths with bulges and an island, every kind of edge with arcs
    # both ways, seed points, an elevation, a mirrored one) and the lines of callouts. Written
    # as R2000 and as R2018: only the newer writes a spline edge's fit data.
    doc = ezdxf.new(version, setup=True)
    msp = doc.modelspace()
    curvas = {"layer": "CURVAS"}
    msp.add_open_spline([(452000, 4470000, 0), (452010, 4470020, 1), (452030, 4470025, 2),
                         (452045, 4470005, 2), (452060, 4470010, 3), (452070, 4470030, 3)],
                        degree=3, dxfattribs=curvas)
    msp.add_rational_spline([(452100, 4470000), (452110, 4470030), (452140, 4470030),
                             (452150, 4470000)], weights=[1, 3, 0.5, 1], degree=3,
                            dxfattribs=curvas)
    cerrada = msp.add_spline(dxfattribs=curvas)
    cerrada.set_closed([(452200, 4470000, 0), (452220, 4470000, 0), (452220, 4470020, 0),
                        (452200, 4470020, 0)], degree=3)
    msp.add_spline(fit_points=[(452300, 4470000, 5), (452310, 4470010, 6), (452325, 4470005, 7)],
                   dxfattribs=curvas)
    msp.add_open_spline([(452400, 4470000), (452410, 4470015), (452420, 4470000),
                         (452430, 4470015), (452440, 4470000)], degree=2,
                        knots=[0, 0, 0, 1, 1, 2, 2, 2], dxfattribs=curvas)

    parcelas = {"layer": "PARCELAS"}
    # A parcel with a curved front and a building inside it, as an island.
    h = msp.add_hatch(dxfattribs=parcelas)
    h.dxf.elevation = (0, 0, 12.5)
    h.paths.add_polyline_path([(452000, 4470100, 0), (452040, 4470100, 0.4),
                               (452040, 4470140, 0), (452000, 4470140, -0.25)], is_closed=True)
    h.paths.add_polyline_path([(452010, 4470110), (452020, 4470110), (452020, 4470120),
                               (452010, 4470120)], is_closed=True)
    h.set_seed_points([(452005, 4470105), (452030, 4470130)])
    # Every kind of edge in one boundary, ending on a spline.
    h = msp.add_hatch(dxfattribs=parcelas)
    camino = h.paths.add_edge_path()
    camino.add_line((452100, 4470100), (452140, 4470100))
    camino.add_arc((452140, 4470110), 10, -90, 90, ccw=True)
    camino.add_line((452140, 4470120), (452130, 4470120))
    camino.add_arc((452120, 4470120), 10, 0, 90, ccw=False)
    camino.add_line((452120, 4470130), (452115, 4470130))
    camino.add_ellipse((452110, 4470130), major_axis=(5, 0), ratio=0.5, start_angle=0,
                       end_angle=180, ccw=True)
    camino.add_line((452105, 4470130), (452105, 4470125))
    camino.add_ellipse((452102.5, 4470125), major_axis=(0, 2.5), ratio=0.6, start_angle=0,
                       end_angle=180, ccw=False)
    camino.add_spline(control_points=[(452100, 4470125), (452095, 4470115), (452105, 4470108),
                                      (452100, 4470100)],
                      knot_values=[0, 0, 0, 0, 1, 1, 1, 1], degree=3)
    # Full circles, a round pond; and a rational spline edge ending the path.
    h = msp.add_hatch(dxfattribs=parcelas)
    h.paths.add_edge_path().add_arc((452200, 4470120), 15, 0, 360)
    camino = h.paths.add_edge_path()
    camino.add_line((452230, 4470100), (452260, 4470100))
    camino.add_spline(control_points=[(452260, 4470100), (452260, 4470130), (452230, 4470130),
                                      (452230, 4470100)],
                      knot_values=[0, 0, 0, 0, 1, 1, 1, 1], weights=[1, 2, 2, 1], degree=3)
    # Mirrored, as CAD programs write a hatch drawn upside down: x runs the other way.
    h = msp.add_hatch(dxfattribs={**parcelas, "extrusion": (0, 0, -1)})
    h.dxf.elevation = (0, 0, -3)
    h.paths.add_polyline_path([(-452300, 4470100, 1), (-452320, 4470100, 0),
                               (-452320, 4470120, 0)], is_closed=True)
    camino = h.paths.add_edge_path()
    camino.add_line((-452330, 4470100), (-452340, 4470100))
    camino.add_arc((-452340, 4470105), 5, -90, 90)
    camino.add_line((-452340, 4470110), (-452330, 4470100))

    cotas = {"layer": "COTAS"}
    msp.add_leader([(452000, 4470200, 1), (452010, 4470210, 1), (452025, 4470210, 1)],
                   dxfattribs=cotas)
    msp.add_leader([(452100.125, 4470200.5), (452090, 4470190)], dxfattribs=cotas)
    doc.saveas(destino / nombre)


def main():
    destino = Path(sys.argv[1] if len(sys.argv) > 1 else "tests/dibujos")
    destino.mkdir(parents=True, exist_ok=True)
    r12(destino)
    r2018(destino)
    curvas(destino)
    contornos(destino, "R2000", "r2000_contornos.dxf")
    contornos(destino, "R2018", "r2018_contornos.dxf")
    bloques(destino)


if __name__ == "__main__":
    main()
