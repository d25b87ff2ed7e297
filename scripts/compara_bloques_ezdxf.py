#!/usr/bin/python3
"""Checks the records that tolvar-cli --blocks writes against ezdxf's own exploded geometry.

    /usr/bin/python3 scripts/compara_bloques_ezdxf.py TOLVAR_CLI DRAWING.dxf [TOLERANCE]

Converts a copy of the drawing with `--blocks --also all --arcs --tolerance T` (default
0.001), reads the .bin with `tolvar-cli dump --json`, explodes every INSERT (its array, its
nested INSERTs) and DIMENSION of the model space with ezdxf, and pairs the records with the
exploded entities in order. Every point of a record, and the middle of each of its chords,
must lie within T, plus half a thousandth of rounding on each axis, of its entity as ezdxf
draws it (curves flattened to 1e-5); a text's point and height must agree to the thousandth. Prints each pair that does not, and a summary;
exits 1 when any does. A tool for developers (Debian's python3-ezdxf): the tests never run it.
"""
import json
import math
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

import ezdxf
from ezdxf import path as ezpath
from ezdxf.math import Matrix44

LEIDOS = {"POINT", "LINE", "CIRCLE", "ARC", "ELLIPSE", "LWPOLYLINE", "POLYLINE", "TEXT",
          "MTEXT", "ATTRIB", "SOLID", "TRACE", "3DFACE"}


def explota(entidad, m, destino):
    """The entities that `entidad` draws, in the order tolvar writes them, each with the
    matrix that places it: its block's entities are not exploded by ezdxf one by one (which
    cuts a polyline in a block scaled unevenly into pieces) but transformed whole."""
    tipo = entidad.dxftype()
    if tipo == "INSERT":
        copias = list(entidad.multi_insert()) if entidad.mcount > 1 else [entidad]
        bloque = entidad.doc.blocks.get(entidad.dxf.name)
        for copia in copias:
            mc = copia.matrix44() @ m
            for e in bloque:
                explota(e, mc, destino)
        for a in entidad.attribs:
            if not a.dxf.flags & 1:
                destino.append((a, m))
    elif tipo == "DIMENSION":
        plano = entidad.ocs()
        md = Matrix44.translate(*entidad.dxf.get("insert", (0, 0, 0))) @ Matrix44.ucs(plano.ux, plano.uy, plano.uz)
        for e in entidad.doc.blocks.get(entidad.dxf.geometry):
            explota(e, md @ m, destino)
    elif tipo in LEIDOS:
        destino.append((entidad, m))


def puntos_de(entidad, m):
    """The entity as ezdxf draws it, placed by m: a dense polyline, or the one point of a text
    or POINT."""
    tipo = entidad.dxftype()
    if tipo == "POINT":
        return [tuple(m.transform(entidad.dxf.location))]
    if tipo in ("TEXT", "ATTRIB"):
        return [tuple(m.transform(entidad.ocs().to_wcs(entidad.dxf.insert)))]
    if tipo == "MTEXT":
        return [tuple(m.transform(entidad.dxf.insert))]
    if tipo in ("SOLID", "TRACE", "3DFACE"):
        v = [tuple(m.transform(p)) for p in entidad.wcs_vertices()]
        return v + [v[0]]
    # Arcs as many Bezier curves, each within 1e-9 of its arc: the path is the true curve.
    p = ezpath.make_path(entidad, segments=64).transform(m)
    v = [tuple(q) for q in p.flattening(1e-5)]
    if p.is_closed or tipo == "CIRCLE":
        v.append(v[0])
    return v


def altura_de(entidad, m):
    """A text's height as placed: its y axis's length once transformed."""
    alto = entidad.dxf.char_height if entidad.dxftype() == "MTEXT" else entidad.dxf.height
    return alto * m.transform_direction((0, 1, 0)).magnitude


def distancia(p, a, b):
    d = [b[i] - a[i] for i in range(3)]
    l2 = sum(x * x for x in d)
    t = 0.0 if l2 == 0 else max(0.0, min(1.0, sum((p[i] - a[i]) * d[i] for i in range(3)) / l2))
    return math.dist(p, [a[i] + t * d[i] for i in range(3)])


def lejania(p, polilinea):
    if len(polilinea) == 1:
        return math.dist(p, polilinea[0])
    return min(distancia(p, polilinea[i], polilinea[i + 1]) for i in range(len(polilinea) - 1))


def main():
    cli, dibujo = Path(sys.argv[1]).resolve(), Path(sys.argv[2])
    t = float(sys.argv[3]) if len(sys.argv) > 3 else 0.001
    with tempfile.TemporaryDirectory() as d:
        shutil.copy(dibujo, Path(d) / "a.dxf")
        (Path(d) / "dxfbin.tab").write_bytes(b"")
        subprocess.run([cli, "--no-atr", "--blocks", "--also", "all", "--arcs", "--tolerance", str(t), d],
                       check=True, stdout=subprocess.DEVNULL)
        volcado = subprocess.run([cli, "dump", "--json", str(Path(d) / "a.bin")], check=True,
                                 capture_output=True, text=True).stdout
    registros = json.loads(volcado)["records"]
    doc = ezdxf.readfile(dibujo)
    entidades = []
    for e in doc.modelspace():
        explota(e, Matrix44(), entidades)

    margen = t + 0.0005 * math.sqrt(3) + 1e-5
    malos = 0
    puntos = 0
    maximo = 0.0
    for i, (r, (e, m)) in enumerate(zip(registros, entidades)):
        nuestros = [tuple(p["units"]) for p in r["points"]]
        suyos = puntos_de(e, m)
        puntos += len(nuestros)
        peor = max(lejania(p, suyos) for p in nuestros) if nuestros else 0.0
        # The middle of each chord, the farthest it gets from the curve: within t as well.
        medios = [tuple((a[k] + b[k]) / 2 for k in range(3)) for a, b in zip(nuestros, nuestros[1:])]
        peor = max([peor] + [lejania(p, suyos) for p in medios])
        maximo = max(maximo, peor)
        if r["clase"] == "T=" and abs(r["dato"][0] / 1000 - altura_de(e, m)) > 0.0006:
            peor = max(peor, 1.0)
        if peor > margen:
            malos += 1
            print(f"record {i + 1} ({e.dxftype()}): {peor:.6f} from ezdxf's; ours {nuestros[:4]}, "
                  f"ezdxf's {suyos[:4]}")
    if len(registros) != len(entidades):
        malos += 1
        print(f"{len(registros)} records, {len(entidades)} entities exploded by ezdxf")
    print(f"{min(len(registros), len(entidades))} records, {puntos} points compared: "
          f"{malos} beyond {margen:.6f}, the farthest {maximo:.6f}")
    sys.exit(1 if malos else 0)


if __name__ == "__main__":
    main()
