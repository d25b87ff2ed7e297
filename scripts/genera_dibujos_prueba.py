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


def main():
    destino = Path(sys.argv[1] if len(sys.argv) > 1 else "tests/dibujos")
    destino.mkdir(parents=True, exist_ok=True)
    r12(destino)
    r2018(destino)


if __name__ == "__main__":
    main()
