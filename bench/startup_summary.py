"""Summarises startupprobe runs: lines of "kind microseconds peak-kilobytes"."""
import statistics
import sys

times, peaks = {}, {}
for line in sys.stdin:
    kind, us, kb = line.split()
    times.setdefault(kind, []).append(int(us) / 1000)
    peaks[kind] = max(peaks.get(kind, 0), int(kb) / 1024)
median = {kind: statistics.median(values) for kind, values in times.items()}
bare, editor, large = "bare", "editor", "editor-255x255"
print(f"bare window      {median[bare]:7.1f} ms  peak {peaks[bare]:5.1f} MB")
print(f"editor           {median[editor]:7.1f} ms  peak {peaks[editor]:5.1f} MB"
      f"  ({median[editor] / median[bare]:.2f} x bare)")
print(f"editor, 255x255  {median[large]:7.1f} ms  peak {peaks[large]:5.1f} MB"
      f"  (+{peaks[large] - peaks[bare]:.1f} MB over bare)")
