#!/usr/bin/env bash
# /report over a drop folder of 10,000 PC files under Wine: prints the time of the report to the
# page and the merged CSV file, and the page's size. One real /silent run gives the file that the
# others copy, each with its own name, time, type and a share of failed items.
#   bench/report.sh [build-dir] [pcs]      (defaults: build/mingw, 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/mingw}
pcs=${2:-10000}

cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j2 --target TarnvikAnalyzer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/drop"
cat >"$work/run.sh" <<SH
set -e
wine "$build/TarnvikAnalyzer.exe" /silent /protocol "Z:$work/p.txt" /csv "Z:$work/drop/" || true
python3 - "$work/drop" "$pcs" <<'PY'
import pathlib, random, sys
drop, pcs = pathlib.Path(sys.argv[1]), int(sys.argv[2])
(template,) = drop.iterdir()
header, row = template.read_bytes().decode('utf-8-sig').split('\r\n')[:2]
names, cells = header.split(';'), row.split(';')
judged = [i for i, name in enumerate(names) if name.endswith('_ok') and cells[i]]
random.seed(1)
for n in range(pcs):
    mine = list(cells)
    mine[0] = f'PC-{n:05d}'
    mine[1] = f'user{n % 997}'
    mine[2] = f'2026-12-{1 + n % 28:02d}T{n % 24:02d}:{n % 60:02d}:00+01:00'
    for i in judged:
        mine[i] = '0' if random.random() < 0.08 else '1'
    mine[4] = str(sum(mine[i] == '0' for i in judged))
    text = '\ufeff' + header + '\r\n' + ';'.join(mine) + '\r\n'
    (drop / f'PC-{n:05d}.csv').write_text(text, encoding='utf-8', newline='')
template.unlink()
PY
start=\$(date +%s.%N)
wine "$build/TarnvikAnalyzer.exe" /report "Z:$work/drop" /html "Z:$work/page.html" /csv "Z:$work/merged.csv"
echo "exit code \$?"
end=\$(date +%s.%N)
echo "$pcs PCs: /report to HTML and CSV took \$(echo "\$end - \$start" | bc) s"
echo "page \$(stat -c %s "$work/page.html") bytes, merged CSV \$(stat -c %s "$work/merged.csv") bytes"
SH
scripts/wine-session.sh "$build/bench-wineprefix" bash "$work/run.sh"
