#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Many files at once: one `pellimo-stamp --onto DIR --outdir OUT` run over 100 one-page PDFs
against a shell loop of `qpdf --overlay` over the same files (bench/stampbatch/README.md).

    bench/stampbatch/stampbatch_bench.py [RUNS] [--tool build/default/src/stamptool/pellimo-stamp]

Runs the two commands alternately RUNS times (default 5) and prints each one's median wall time.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time

PAGE_TEXT = "Invoice {n:03d}  -  Pellimo batch benchmark"


def one_page_pdf(n: int) -> bytes:
    """A one-page A4 PDF with a line of text and a frame, written by hand (xref table)."""
    content = (
        "BT /F1 18 Tf 72 760 Td ({}) Tj ET\n"
        "0.5 w 36 36 523 770 re S\n".format(PAGE_TEXT.format(n=n))
    ).encode()
    objects = [
        b"<< /Type /Catalog /Pages 2 0 R >>",
        b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595.28 841.89] "
        b"/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        b"<< /Length %d >>\nstream\n" % len(content) + content + b"endstream",
    ]
    out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
    offsets = []
    for i, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % i + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for offset in offsets:
        out += b"%010d 00000 n \n" % offset
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
        len(objects) + 1, xref)
    return bytes(out)


def timed(command, **kwargs) -> float:
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   **kwargs)
    return time.perf_counter() - start


def main() -> None:
    parser = argparse.ArgumentParser()
    parser.add_argument("runs", nargs="?", type=int, default=5)
    parser.add_argument("--tool", default="build/default/src/stamptool/pellimo-stamp")
    parser.add_argument("--files", type=int, default=100)
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)

    with tempfile.TemporaryDirectory() as top:
        inputs = os.path.join(top, "in")
        os.mkdir(inputs)
        for n in range(args.files):
            with open(os.path.join(inputs, "doc%03d.pdf" % n), "wb") as f:
                f.write(one_page_pdf(n))
        # The program folder is the data folder: a copy of the tool in a folder of its own.
        program = os.path.join(top, "program")
        os.mkdir(program)
        shutil.copy(tool, program)
        ours_tool = os.path.join(program, "pellimo-stamp")
        stamp = os.path.join(top, "stamp.pdf")
        subprocess.run([ours_tool, "--pdf", stamp], check=True)

        loop = ('for f in "$1"/*.pdf; do qpdf --overlay "$2" --to=1 -- "$f" '
                '"$3/$(basename "$f" .pdf)-stamped.pdf" || exit 1; done')
        ours, theirs = [], []
        for run in range(args.runs):
            for which in ("ours", "theirs") if run % 2 == 0 else ("theirs", "ours"):
                out = os.path.join(top, "out-" + which)
                shutil.rmtree(out, ignore_errors=True)
                os.mkdir(out)
                if which == "ours":
                    ours.append(timed([ours_tool, "--onto", inputs, "--outdir", out]))
                else:
                    theirs.append(timed(["/bin/sh", "-c", loop, "sh", inputs, stamp, out]))
            assert len(os.listdir(os.path.join(top, "out-ours"))) == args.files
        a, b = statistics.median(ours), statistics.median(theirs)
        print("%d one-page PDFs, %d runs, cores: %d, load: %.1f" %
              (args.files, args.runs, os.cpu_count() or 1, os.getloadavg()[0]))
        print("pellimo-stamp --onto DIR --outdir OUT  median %.3f s  (runs: %s)" %
              (a, ", ".join("%.3f" % t for t in ours)))
        print("shell loop of qpdf --overlay           median %.3f s  (runs: %s)" %
              (b, ", ".join("%.3f" % t for t in theirs)))
        print("ratio %.2f x" % (a / b))


if __name__ == "__main__":
    main()
