#!/usr/bin/python3
"""Joins the benchmarks' figures into one table and one JSON file:

    bench/report.py OUTPUT_JSON SECTION=FIGURES_JSON...

Each FIGURES_JSON is a list of figures (name, value, target, holds, note); SECTION names where
they come from (desktop, web, windows). A missing file is reported as a figure that misses.
"""

import json
import sys
from pathlib import Path


def main(output, sections):
    report = []
    for section in sections:
        name, _, path = section.partition("=")
        try:
            figures = json.loads(Path(path).read_text())
        except (OSError, ValueError) as error:
            figures = [{"name": "(not measured)", "value": 0, "target": "", "holds": False,
                        "note": str(error)}]
        report += [dict(figure, section=name) for figure in figures]
    print(f"{'':8} {'figure':<42} {'value':>12}  {'target':<11} {'':6}  note")
    for f in report:
        print(f"{f['section']:8} {f['name']:<42} {f['value']:>12,.3f}  {f['target']:<11} "
              f"{'holds' if f['holds'] else 'MISSES':6}  {f['note']}")
    Path(output).write_text(json.dumps(report, indent=2, ensure_ascii=False) + "\n")
    missed = sum(not f["holds"] for f in report)
    print(f"{len(report) - missed} figures hold their targets, {missed} miss; written to {output}")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
