#!/bin/sh
# The lane kernels' steady loop and the serial loop as llvm-mca-19 (Debian's llvm-19) models them
# on processors that may not be at hand: cycles and instructions for each value drawn, beside the
# bare chain of the generator (the limit of one serial stream) modelled the same way.
# Usage: bench/mca.sh [BUILD_DIR]   (run from the source folder; BUILD_DIR holds the include tree)
set -eu
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
flags="-std=c++20 -O3 -DNDEBUG -Wno-psabi -DLOTO_MCA_REGIONS -I $build/include/loto_core \
       -I $build/include/loto_platform"
# Source, instruction sets, values in one pass of its marked loop.
g++ $flags -mavx2 -S core/lanes_avx2.cpp -o "$work/avx2.s"
avx512="-mavx512f -mavx512dq -mavx512vl -mavx512bw"
g++ $flags $avx512 -S core/lanes_avx512.cpp -o "$work/avx512.s"
g++ $flags $avx512 -mavx512ifma -mavx512vpopcntdq -S core/lanes_avx512ifma.cpp -o "$work/avx512ifma.s"
g++ $flags -S bench/mca_serial.cpp -o "$work/serial.s"
# A processor without a kernel's instructions prints no row for it.
for kernel in "avx2 64" "avx512 64" "avx512ifma 64" "serial 6"; do
    set -- $kernel
    for cpu in znver3 znver4 alderlake skylake; do
        llvm-mca-19 -mcpu="$cpu" -iterations=500 "$work/$1.s" 2>/dev/null |
            awk -v k="$1" -v c="$cpu" -v n="$2" '
                /Code Region - / && $NF != "block" {k = $NF}
                /^Iterations:/ {it = $2} /^Instructions:/ {ins = $2}
                /^Total Cycles:/ {print k, c, $3 / it / n, ins / it / n}'
    done
done >"$work/rows"
# Draws per second against the bare chain's on the same processor: its cycles over the kernel's.
awk 'NR == FNR {if ($1 == "chain") chain[$2] = $3; next}
     FNR == 1 {printf "%-10s %-10s %10s %10s %8s\n", "kernel", "cpu", "cycles/v", "instr/v", "x chain"}
     {printf "%-10s %-10s %10.2f %10.2f %8.2f\n", $1, $2, $3, $4, chain[$2] / $3}' \
    "$work/rows" "$work/rows"
