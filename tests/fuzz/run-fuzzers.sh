#!/bin/sh
# Fuzzes the file readers, as many at a time as the machine has processors: each reader runs
# once on large inputs made here (too large to keep in the tree), then for a bounded time from
# the corpus kept in the tree. Inputs that reach new code collect in the work folder, so a later
# run goes on from them; the tree's corpus is never written.
#
#   run-fuzzers.sh FUZZ_BUILD WORK_FOLDER CORPUS_FOLDER READER...
#
# QUORBROWSER_FUZZ_SECONDS: how long to fuzz each reader (30 unless set).
# QUORBROWSER_FUZZ_READERS: the readers to fuzz, of those named (all unless set).
set -eu

build=$1
work=$2
corpus=$3
shift 3
readers=${QUORBROWSER_FUZZ_READERS:-$*}
seconds=${QUORBROWSER_FUZZ_SECONDS:-30}
case $seconds in
'' | *[!0-9]* | 0)
    echo "QUORBROWSER_FUZZ_SECONDS must be a whole number of seconds above 0, not '$seconds'" >&2
    exit 2
    ;;
esac
jobs=$(getconf _NPROCESSORS_ONLN 2>/dev/null || echo 1)

# 10 MB on one line, shared by all readers.
large=$work/large
mkdir -p "$large"
if [ ! -s "$large/line-10mb" ]; then
    head -c 10485760 /dev/zero | tr '\000' '7' >"$large/line-10mb.part"
    mv "$large/line-10mb.part" "$large/line-10mb"
fi

# The targets write the files they read into a temporary folder; a memory-backed one where the
# machine has it keeps the disk's syncs out of every run.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch=$(mktemp -d /dev/shm/quor-fuzz.XXXXXX)
else
    scratch=$(mktemp -d "$work/tmp.XXXXXX")
fi
trap 'rm -rf "$scratch"' EXIT

# Undefined behaviour stops a run as a crash does, with the stack that led to it.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# One reader; what it printed goes to its log, how it ended to its status file.
fuzz() {
    reader=$1
    dir=$work/$reader
    mkdir -p "$dir/found" "$dir/failed" "$scratch/$reader"
    status=0
    # On the large input a leak shows at exit: libFuzzer's own check would run it twice.
    {
        TMPDIR=$scratch/$reader "$build/fuzz_$reader" -rss_limit_mb=4096 -timeout=300 \
            -detect_leaks=0 -artifact_prefix="$dir/failed/" "$large/line-10mb" &&
            TMPDIR=$scratch/$reader "$build/fuzz_$reader" -max_total_time="$seconds" \
                -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
                -artifact_prefix="$dir/failed/" "$dir/found" "$corpus/common" "$corpus/$reader"
    } >"$dir/log" 2>&1 || status=$?
    echo "$status" >"$dir/status"
}

set -- $readers
while [ $# -gt 0 ]; do
    running=0
    while [ $# -gt 0 ] && [ $running -lt "$jobs" ]; do
        fuzz "$1" &
        running=$((running + 1))
        shift
    done
    wait
done

failed=0
for reader in $readers; do
    dir=$work/$reader
    if [ "$(cat "$dir/status")" = 0 ]; then
        echo "$reader: $(grep '^Done ' "$dir/log" | tail -n 1), nothing found"
    else
        failed=1
        echo "==== $reader: an input broke the reader ===="
        cat "$dir/log"
        echo "The input is in $dir/failed/: keep it in tests/fuzz/corpus/$reader/ and add a" \
            "row for it to the reader's unit test."
    fi
done
exit $failed
