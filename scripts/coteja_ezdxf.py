#!/usr/bin/python3
"""Checks tolvar-cli's SPLINE, HATCH and LEADER records against ezdxf's own geometry.

    /usr/bin/python3 scripts/coteja_ezdxf.py build/src/cli/tolvar-cli [DRAWING.dxf ...]

Without drawings it takes tests/dibujos/r2000_contornos.dxf and r2018_contornos.dxf and a
drawing of random splines, hatches and leaders that it writes with a fixed seed. Each drawing
is converted with --also SPLINE,HATCH,LEADER --arcs at several tolerances t; then, entity by
entity, every record point must lie within 0.00087 drawing units (half a thousandth in each
coordinate, the rounding of the .bin) of ezdxf's curve, and every point of ezdxf's curve,
sampled densely, within t + 0.00087 of the record's polyline: the chords stay within t of the
curve. ezdxf's curves are its construction tools: BSpline for splines and spline edges,
ConstructionArc and ConstructionEllipse for arc and elliptic edges and for bulges, each edge
in the hatch's plane moved to the world by the hatch's OCS. LEADER vertices and the fit points
of a spline without control points must be the exact thousandths of the values.

The tests never run this script (they must not need Python); run it by hand after a change of
the rules and report its figures. Exit status 1 when a check fails.
"""
import math
import random
import struct
import subprocess
import sys
import tempfile
from collections import defaultdict
from pathlib import Path

import ezdxf
from ezdxf.math import OCS, Vec3, bulge_to_arc

REDONDEO = 0.00087   # sqrt(3) * 0.0005: a point rounded to thousandths in x, y and z
TOLERANCIAS = (0.001, 0.01, 0.2)
PASO_MUESTRA = 0.02  # spacing of ezdxf's samples, in drawing units


def lee_bin(ruta):
    """The records of a .bin without attribute units: (code, points in drawing units)."""
    datos = Path(ruta).read_bytes()
    registros, o = [], 0
    while o < len(datos):
        cod = datos[o + 2:o + 9].rstrip(b"\0").decode("cp1252")
        n = struct.unpack_from("<h", datos, o + 10)[0]
        puntos = []
        for i in range(n):
            x, y, z = struct.unpack_from("<iii", datos, o + 48 + 12 * i)
            puntos.append((x / 1000.0, (y + 4000000000) / 1000.0, z / 1000.0))
        registros.append((cod, puntos))
        o += 48 + 12 * n
    return registros


def milesimas(p):
    return (round(p[0] * 1000), round(p[1] * 1000 - 4000000000), round(p[2] * 1000))


def dist_segmento(p, a, b):
    ab = (b[0] - a[0], b[1] - a[1], b[2] - a[2])
    ap = (p[0] - a[0], p[1] - a[1], p[2] - a[2])
    l2 = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2]
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, (ap[0] * ab[0] + ap[1] * ab[1] + ap[2] * ab[2]) / l2))
    d = (ap[0] - t * ab[0], ap[1] - t * ab[1], ap[2] - t * ab[2])
    return math.sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2])


class Rejilla:
    """Segments bucketed by the xy cells their boxes cover, for the nearest one to a point."""

    def __init__(self, polilineas, celda):
        self.celda = celda
        self.segmentos = []
        self.celdas = defaultdict(list)
        for pl in polilineas:
            for a, b in zip(pl, pl[1:]) if len(pl) > 1 else [(pl[0], pl[0])]:
                k = len(self.segmentos)
                self.segmentos.append((a, b))
                for i in range(math.floor(min(a[0], b[0]) / celda), math.floor(max(a[0], b[0]) / celda) + 1):
                    for j in range(math.floor(min(a[1], b[1]) / celda), math.floor(max(a[1], b[1]) / celda) + 1):
                        self.celdas[(i, j)].append(k)

    def distancia(self, p):
        i0, j0 = math.floor(p[0] / self.celda), math.floor(p[1] / self.celda)
        vistos, mejor = set(), math.inf
        for i in (i0 - 1, i0, i0 + 1):
            for j in (j0 - 1, j0, j0 + 1):
                for k in self.celdas.get((i, j), ()):
                    if k not in vistos:
                        vistos.add(k)
                        mejor = min(mejor, dist_segmento(p, *self.segmentos[k]))
        if mejor > self.celda:  # nothing near: every segment, the slow way
            mejor = min(dist_segmento(p, a, b) for a, b in self.segmentos)
        return mejor


def muestras(n_largo):
    return max(64, min(200000, int(n_largo / PASO_MUESTRA)))


def curva_bspline(bs, a_mundo):
    # Every knot among the samples: at a knot of full multiplicity the curve turns a corner.
    t = bs.knots()
    vanos = [(t[j], t[j + 1]) for j in range(bs.degree, bs.count) if t[j] < t[j + 1]]
    largo = sum(abs(q - p) for p, q in zip(bs.control_points, bs.control_points[1:]))
    n = max(8, muestras(largo) // len(vanos))
    params = [a + (b - a) * i / n for a, b in vanos for i in range(n)] + [vanos[-1][1]]
    return [a_mundo(v) for v in bs.points(params)]


def curva_arco(cx, cy, r, a0, barrido, a_mundo):
    n = muestras(abs(barrido) * r)
    return [a_mundo(Vec3(cx + r * math.cos(a0 + barrido * i / n), cy + r * math.sin(a0 + barrido * i / n), 0))
            for i in range(n + 1)]


def referencia_hatch(hatch):
    """One (polylines, exact points) per path: ezdxf's curves of each edge in the world."""
    ocs = hatch.ocs()
    z = hatch.dxf.elevation.z
    a_mundo = lambda v: tuple(ocs.to_wcs(Vec3(v.x, v.y, z)))
    caminos = []
    for camino in hatch.paths:
        piezas = []
        if camino.type == ezdxf.entities.BoundaryPathType.POLYLINE:
            v = list(camino.vertices)
            for k, (x, y, b) in enumerate(v):
                x2, y2, _ = v[(k + 1) % len(v)]
                if b == 0 or (x2 == x and y2 == y):
                    piezas.append([a_mundo(Vec3(x, y)), a_mundo(Vec3(x2, y2))])
                else:
                    c, s, e, r = bulge_to_arc((x, y), (x2, y2), b)
                    barrido = (e - s) % math.tau
                    piezas.append(curva_arco(c.x, c.y, r, s, barrido, a_mundo))
        else:
            for borde in camino.edges:
                tipo = borde.type.name
                if tipo == "LINE":
                    piezas.append([a_mundo(borde.start), a_mundo(borde.end)])
                elif tipo == "ARC":
                    arco = borde.construction_tool()
                    s = math.radians(arco.start_angle)
                    barrido = math.radians(arco.angle_span) or math.tau
                    piezas.append(curva_arco(arco.center.x, arco.center.y, arco.radius, s, barrido, a_mundo))
                elif tipo == "ELLIPSE":
                    e = borde.construction_tool()
                    n = muestras(e.param_span * e.major_axis.magnitude)
                    piezas.append([a_mundo(v) for v in e.vertices(e.params(n + 1))])
                elif borde.control_points:
                    piezas.append(curva_bspline(borde.construction_tool(), a_mundo))
                else:
                    piezas.append([a_mundo(Vec3(p)) for p in borde.fit_points])
        caminos.append(piezas)
    return caminos


def coteja(dxf, cli, trabajo, informe):
    doc = ezdxf.readfile(dxf)
    esperados = []   # (kind, polylines or exact points, closed) per record
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "SPLINE":
            if e.control_point_count():
                esperados.append(("curva", [curva_bspline(e.construction_tool(), tuple)], False))
            elif e.fit_point_count():
                esperados.append(("exacto", [tuple(p) for p in e.fit_points], False))
        elif t == "HATCH":
            for piezas in referencia_hatch(e):
                esperados.append(("curva", [p for p in piezas if p], True))
        elif t == "LEADER":
            esperados.append(("exacto", [tuple(Vec3(v)) for v in e.vertices], False))
    for t in TOLERANCIAS:
        d = Path(tempfile.mkdtemp(dir=trabajo))
        (d / "a.dxf").write_bytes(Path(dxf).read_bytes())
        (d / "dxfbin.tab").write_bytes(b"")
        subprocess.run([cli, "--no-atr", "--also", "SPLINE,HATCH,LEADER", "--arcs", "--tolerance", str(t), str(d)],
                       check=True, stdout=subprocess.DEVNULL)
        registros = lee_bin(d / "a.bin")
        if len(registros) != len(esperados):
            informe["fallos"].append(f"{dxf} t={t}: {len(registros)} records, ezdxf gives {len(esperados)}")
            continue
        for k, ((tipo, ref, cerrado), (_, puntos)) in enumerate(zip(esperados, registros)):
            informe["registros"] += 1
            informe["puntos"] += len(puntos)
            if tipo == "exacto":
                if [milesimas(p) for p in puntos] != [milesimas(p) for p in ref]:
                    informe["fallos"].append(f"{dxf} t={t} record {k + 1}: vertices differ")
                continue
            rejilla_ref = Rejilla(ref, 0.5)
            peor_punto = max(rejilla_ref.distancia(p) for p in puntos)
            rejilla_reg = Rejilla([puntos + puntos[:1] if cerrado else puntos], 0.5 + t)
            peor_cuerda = max(rejilla_reg.distancia(q) for pl in ref for q in pl)
            informe["peor_punto"] = max(informe["peor_punto"], peor_punto)
            informe["peor_cuerda"][t] = max(informe["peor_cuerda"].get(t, 0.0), peor_cuerda)
            if peor_punto > REDONDEO:
                informe["fallos"].append(f"{dxf} t={t} record {k + 1}: a point {peor_punto:.6f} off ezdxf's curve")
            if peor_cuerda > t + REDONDEO:
                informe["fallos"].append(f"{dxf} t={t} record {k + 1}: the curve {peor_cuerda:.6f} off the chords")


def dibujo_aleatorio(ruta, semilla=27):
    """Random splines, hatches and leaders at map coordinates."""
    rnd = random.Random(semilla)
    doc = ezdxf.new("R2018")
    msp = doc.modelspace()
    x0, y0 = 452000.0, 4470000.0

    def cerca(r=50.0):
        return (round(x0 + rnd.uniform(-r, r), 3), round(y0 + rnd.uniform(-r, r), 3))

    def nudos(n, p):
        interiores = sorted(round(rnd.uniform(0.0, 1.0), 3) for _ in range(n - p - 1))
        # Now and then a knot of multiplicity 2, where a curve of degree 2 or more turns a
        # corner (of degree 1 it would break in two, which no CAD program draws).
        if p >= 2 and interiores and rnd.random() < 0.3:
            interiores[rnd.randrange(len(interiores))] = interiores[0]
            interiores.sort()
        return [0.0] * (p + 1) + interiores + [1.0] * (p + 1)

    for _ in range(60):
        p = rnd.randint(1, 5)
        n = rnd.randint(p + 1, p + 12)
        cx, cy = cerca(5000)
        cps = [(round(cx + rnd.uniform(-30, 30), 3), round(cy + rnd.uniform(-30, 30), 3), round(rnd.uniform(-5, 5), 3))
               for _ in range(n)]
        s = msp.add_spline()
        s.dxf.degree = p
        s.control_points = cps
        s.knots = nudos(n, p)
        if rnd.random() < 0.4:
            s.weights = [round(rnd.uniform(0.3, 4.0), 3) for _ in range(n)]
            s.dxf.flags = s.RATIONAL
    for _ in range(40):
        h = msp.add_hatch()
        h.dxf.elevation = (0, 0, round(rnd.uniform(-20, 20), 3))
        espejo = rnd.random() < 0.3
        if espejo:
            h.dxf.extrusion = (0, 0, -1)
        sx = -1.0 if espejo else 1.0
        for _ in range(rnd.randint(1, 3)):
            cx, cy = cerca(5000)
            k = rnd.randint(3, 7)
            angulos = sorted(rnd.uniform(0, math.tau) for _ in range(k))
            radios = [rnd.uniform(5, 40) for _ in range(k)]
            vs = [(round(sx * (cx + r * math.cos(a)), 3), round(cy + r * math.sin(a), 3)) for a, r in zip(angulos, radios)]
            if rnd.random() < 0.35:
                h.paths.add_polyline_path([(x, y, round(rnd.uniform(-1.5, 1.5), 3) if rnd.random() < 0.6 else 0)
                                           for x, y in vs], is_closed=True)
                continue
            camino = h.paths.add_edge_path()
            for a, b in zip(vs, vs[1:] + vs[:1]):
                kind = rnd.random()
                if kind < 0.3:
                    camino.add_line(a, b)
                elif kind < 0.6:
                    bulge = rnd.uniform(-2.0, 2.0) or 0.5
                    c, s_, e_, r = bulge_to_arc(a, b, bulge)
                    camino.add_arc((c.x, c.y), r, math.degrees(s_), math.degrees(e_), ccw=bulge > 0)
                elif kind < 0.8:
                    m = ((a[0] - b[0]) / 2, (a[1] - b[1]) / 2)
                    c = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
                    ccw = rnd.random() < 0.5
                    camino.add_ellipse(c, major_axis=m, ratio=round(rnd.uniform(0.1, 1.0), 3),
                                       start_angle=0, end_angle=180, ccw=ccw)
                    if not ccw:  # the other half, to stay joined
                        camino.edges[-1].major_axis = (-m[0], -m[1])
                    if rnd.random() < 0.3:  # and now and then angles that are not 0 and 180
                        camino.edges[-1].start_angle = round(rnd.uniform(0, 360), 2)
                        camino.edges[-1].end_angle = round(rnd.uniform(0, 360), 2)
                else:
                    p = rnd.randint(1, 4)
                    n = rnd.randint(p + 1, p + 6)
                    cps = [a] + [(round(a[0] + (b[0] - a[0]) * i / (n - 1) + rnd.uniform(-8, 8), 3),
                                  round(a[1] + (b[1] - a[1]) * i / (n - 1) + rnd.uniform(-8, 8), 3))
                                 for i in range(1, n - 1)] + [b]
                    pesos = [round(rnd.uniform(0.3, 4.0), 3) for _ in range(n)] if rnd.random() < 0.4 else None
                    camino.add_spline(control_points=cps, knot_values=nudos(n, p), degree=p, weights=pesos)
    for _ in range(20):
        msp.add_leader([(*cerca(5000), round(rnd.uniform(-3, 3), 3)) for _ in range(rnd.randint(2, 5))])
    doc.saveas(ruta)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 1
    cli = str(Path(sys.argv[1]).resolve())
    raiz = Path(__file__).resolve().parent.parent
    informe = {"registros": 0, "puntos": 0, "peor_punto": 0.0, "peor_cuerda": {}, "fallos": []}
    with tempfile.TemporaryDirectory() as trabajo:
        dibujos = sys.argv[2:]
        if not dibujos:
            aleatorio = Path(trabajo) / "aleatorio.dxf"
            dibujo_aleatorio(aleatorio)
            dibujos = [raiz / "tests/dibujos/r2000_contornos.dxf", raiz / "tests/dibujos/r2018_contornos.dxf", aleatorio]
        for dxf in dibujos:
            coteja(str(dxf), cli, trabajo, informe)
    print(f"{informe['registros']} records, {informe['puntos']} points compared")
    print(f"worst record point off ezdxf's curve: {informe['peor_punto']:.6f} (bound {REDONDEO})")
    for t, peor in sorted(informe["peor_cuerda"].items()):
        print(f"t = {t}: worst curve point off the chords {peor:.6f} (bound {t + REDONDEO:.5f})")
    for f in informe["fallos"]:
        print("FAIL", f)
    return 1 if informe["fallos"] else 0


if __name__ == "__main__":
    sys.exit(main())
