#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Converts the golden documents, the bundled samples and documents made
here (combinations, fills, missing points, non-finite numbers, coordinates
out of range) with `sitconv --format both`, then

  schema: validates every JSON output, and every golden JSON file, against
          schema/situation.schema.json with a draft 2020-12 validator;
  gdal:   reads every GeoJSON output back with GDAL (ogr2ogr to GeoJSON on
          standard output) and checks per document the feature count, each
          feature's geometry type and a sample of its properties against
          what the JSON output of the same document says.

Usage: check_outputs.py schema|gdal SITCONV SOURCE_DIR WORK_DIR
"""
import json
import os
import shutil
import subprocess
import sys

MADE = {
    # name: (xml body of one layer's SYMBOLS, expected feature count)
    "fills.xml": ("""
<Symbol Guid="1" Code="3,1"><GeoAttr><POINTS><Point X="116" Y="39" Z="1"/><Point X="117" Y="39" Z="1"/><Point X="117" Y="40" Z="1"/></POINTS></GeoAttr><StyleAttr><Fill Color="4278190335" Mode="1"/></StyleAttr></Symbol>
<Symbol Guid="2" Code="3,2"><GeoAttr><POINTS><Point X="116" Y="39" Z="0"/><Point X="116" Y="40" Z="0"/><Point X="117" Y="40" Z="0"/><Point X="117" Y="39" Z="0"/></POINTS></GeoAttr><StyleAttr><Fill Color="1" Mode="2"/></StyleAttr></Symbol>
<Symbol Guid="3" Code="3,3"><GeoAttr><POINTS><Point X="116" Y="39" Z="0"/><Point X="117" Y="39" Z="0"/><Point X="117" Y="40" Z="0"/></POINTS></GeoAttr><StyleAttr><Fill Color="1" Mode="0"/></StyleAttr></Symbol>
<Symbol Guid="4" Code="3,4"><GeoAttr><POINTS><Point X="116" Y="39" Z="0"/><Point X="117" Y="39" Z="0"/></POINTS></GeoAttr></Symbol>
""", 4),
    "missing_points.xml": ("""
<Symbol Guid="10" Code="1,1" Name="no points"/>
<Symbol Guid="11" Code="1,2"><GeoAttr><POINTS Count="0"></POINTS></GeoAttr></Symbol>
<Symbol Guid="12" Code="1,3"><GeoAttr><POINTS><Point X="116.5" Y="39.5" Z="20"/></POINTS></GeoAttr></Symbol>
""", 3),
    "non_finite.xml": ("""
<Symbol Guid="20" Code="1,1"><GeoAttr><POINTS><Point X="inf" Y="39" Z="0"/><Point X="116" Y="39" Z="0"/></POINTS></GeoAttr></Symbol>
<Symbol Guid="21" Code="1,1"><GeoAttr><POINTS><Point X="116" Y="39" Z="0"/></POINTS><GeoAttribute Scale="nan"/></GeoAttr></Symbol>
""", 2),
    "out_of_range.xml": ("""
<Symbol Guid="30" Code="1,1"><GeoAttr><POINTS><Point X="500000" Y="4400000" Z="0"/><Point X="500100" Y="4400000" Z="0"/></POINTS></GeoAttr></Symbol>
""", 1),
    "combinations.xml": ("""
<Symbol Guid="40" Code="32,4" Name="parent"><GeoAttr><POINTS><Point X="116" Y="39" Z="0"/></POINTS></GeoAttr>
  <CombinationChild Count="2">
    <Symbol Guid="41" Code="7,1" Name="first"><GeoAttr><POINTS><Point X="116.1" Y="39.1" Z="0"/><Point X="116.2" Y="39.2" Z="0"/></POINTS></GeoAttr>
      <CombinationChild Count="1"><Symbol Guid="43" Code="7,3" Name="inner"/></CombinationChild></Symbol>
    <Symbol Guid="42" Code="7,2" Name="second"/>
  </CombinationChild></Symbol>
""", 4),
}


def made_document(symbols):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<SITSYMBOLFILE><LAYGROUPS>'
            '<LayerGroup Describe="" Visible="TRUE" Name="组"><LAYERS>'
            '<Layer Name="层" Describe="" Visible="TRUE"><SYMBOLS>' + symbols +
            '</SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS>'
            '<ACTIONGROUPS><ActionGroup GroupIndex="0"><Action ActionGuid="1" SymbolGuid="40">'
            '<ActionAttr Type="1" StartTime="0" DurationTime="5" IsPlayEndReset="TRUE">'
            '<ActionBlinkInterval BlinkInterval="3"/></ActionAttr></Action></ActionGroup>'
            '</ACTIONGROUPS></SITSYMBOLFILE>\n')


def convert(sitconv, source_dir, work):
    if os.path.isdir(work):
        shutil.rmtree(work)
    src = os.path.join(work, "source")
    out = os.path.join(work, "out")
    shutil.copytree(os.path.join(source_dir, "examples", "situations"), os.path.join(src, "samples"))
    golden = os.path.join(source_dir, "tests", "data", "sitconv", "golden")
    os.makedirs(os.path.join(src, "golden"))
    for name in os.listdir(golden):
        if name.endswith(".xml"):
            shutil.copy(os.path.join(golden, name), os.path.join(src, "golden", name))
    os.makedirs(os.path.join(src, "made"))
    for name, (symbols, _) in MADE.items():
        with open(os.path.join(src, "made", name), "w", encoding="utf-8") as f:
            f.write(made_document(symbols))
    run = subprocess.run([sitconv, "--format", "both", "--quiet", src, out],
                         capture_output=True, encoding="utf-8", errors="replace", env=dict(os.environ, LC_ALL="zh_CN.GBK"))
    # non_finite.xml and the empty golden document (not well-formed XML) are
    # reported (and so the status is 1); nothing else is.
    lines = [l for l in run.stderr.splitlines() if l]
    unexpected = [l for l in lines if "non_finite.xml" not in l
                  and not ("empty_file.xml" in l and "not well-formed XML" in l)]
    if run.returncode != 1 or unexpected or not lines:
        sys.exit("sitconv: status %d, messages:\n%s" % (run.returncode, run.stderr))
    return out


def check_schema(source_dir, out):
    import jsonschema
    with open(os.path.join(source_dir, "schema", "situation.schema.json"), encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)
    golden = os.path.join(source_dir, "tests", "data", "sitconv", "golden")
    files = [os.path.join(out, n) for n in sorted(os.listdir(out)) if n.endswith(".xml")]
    files += [os.path.join(golden, n) for n in sorted(os.listdir(golden)) if n.endswith(".json")]
    failures = 0
    for path in files:
        with open(path, encoding="utf-8") as f:
            errors = list(validator.iter_errors(json.load(f)))
        for e in errors[:3]:
            print("%s: %s at %s" % (path, e.message, "/".join(str(p) for p in e.absolute_path)))
        failures += bool(errors)
    # The schema must also catch a wrong document, or it checks nothing.
    broken = {"SITSYMBOLFILE": {"LayerGroups": [{"Describe": "", "Visible": "yes"}]}}
    if validator.is_valid(broken):
        print("the schema accepts a layer group with a text for Visible and no layers")
        failures += 1
    print("%d JSON documents checked against the schema, %d failed" % (len(files), failures))
    return failures == 0


def expected_features(doc):
    """(geometry type or None, properties sample) per feature, in order."""
    result = []

    def points_of(symbol):
        try:
            return symbol["GeoAttr"][0]["POINTS"][0]["Point"]
        except (KeyError, IndexError):
            return []

    def fill_mode(symbol):
        try:
            return symbol["StyleAttr"][0]["Fill"][0]["Mode"]
        except (KeyError, IndexError):
            return 0

    def geometry(symbol):
        pts = [(p["X"], p["Y"], p["Z"]) for p in points_of(symbol)]
        if not pts or any(v is None for p in pts for v in p):
            return None
        if len(pts) == 1:
            return "Point"
        ring = pts + ([] if pts[0] == pts[-1] else [pts[0]])
        if len(pts) >= 3 and fill_mode(symbol) != 0 and len(ring) >= 4:
            return "Polygon"
        return "LineString"

    def add(symbol, group, layer, parent):
        result.append((geometry(symbol), {"Guid": symbol["Guid"], "Name": symbol["Name"],
                                          "LayerGroup Name": group, "Layer Name": layer,
                                          "ParentGuid": parent}))
        for child in symbol.get("CombinationChild", []):
            add(child, group, layer, symbol["Guid"])

    for g in doc["SITSYMBOLFILE"]["LayerGroups"]:
        for l in g["Layers"]:
            for s in l["Symbols"]:
                add(s, g["LayerGroup Name"], l["Name"], None)
    return result


def ring_is_counter_clockwise(ring):
    area = sum(ring[i][0] * ring[i + 1][1] - ring[i + 1][0] * ring[i][1] for i in range(len(ring) - 1))
    return area > 0 and ring[0] == ring[-1]


def check_gdal(out):
    failures = 0
    checked = 0
    for name in sorted(os.listdir(out)):
        if not name.endswith(".geojson"):
            continue
        path = os.path.join(out, name)
        base = name[:-len(".geojson")]
        with open(os.path.join(out, base + ".xml"), encoding="utf-8") as f:
            expected = expected_features(json.load(f))
        with open(path, encoding="utf-8") as f:
            ours = json.load(f)
        read = subprocess.run(["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", path],
                              capture_output=True, encoding="utf-8", errors="replace")
        problems = []
        if read.returncode != 0:
            problems.append("GDAL cannot read it: " + read.stderr.strip())
        else:
            features = json.loads(read.stdout)["features"]
            if len(features) != len(expected):
                problems.append("GDAL reads %d features, expected %d" % (len(features), len(expected)))
            for i, (feature, (gtype, sample)) in enumerate(zip(features, expected)):
                got = feature["geometry"]["type"] if feature["geometry"] else None
                if got != gtype:
                    problems.append("feature %d: geometry %s, expected %s" % (i, got, gtype))
                props = feature["properties"]
                for key, value in sample.items():
                    if props.get(key) != value:
                        problems.append("feature %d: %s is %r, expected %r" % (i, key, props.get(key), value))
            for i, feature in enumerate(ours["features"]):
                g = feature["geometry"]
                if g and g["type"] == "Polygon" and not ring_is_counter_clockwise(g["coordinates"][0]):
                    problems.append("feature %d: ring not closed and counter-clockwise" % i)
                if g and any(len(p) != 3 for p in ([g["coordinates"]] if g["type"] == "Point" else
                                                   g["coordinates"] if g["type"] == "LineString" else
                                                   g["coordinates"][0])):
                    problems.append("feature %d: a position without its height" % i)
            if "ACTIONGROUPS" not in ours:
                problems.append("no ACTIONGROUPS member")
        if base + ".xml" in MADE and MADE[base + ".xml"][1] != len(expected):
            problems.append("%d features expected by the test, the JSON has %d" % (MADE[base + ".xml"][1], len(expected)))
        for p in problems:
            print("%s: %s" % (path, p))
        failures += bool(problems)
        checked += 1
    print("%d GeoJSON documents read back with GDAL, %d failed" % (checked, failures))
    return failures == 0 and checked >= len(MADE)


def main():
    mode, sitconv, source_dir, work = sys.argv[1:5]
    out = convert(sitconv, source_dir, work)
    ok = check_schema(source_dir, out) if mode == "schema" else check_gdal(out)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
