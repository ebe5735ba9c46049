#!/usr/bin/env python3
"""Writes a plain UTF-8 text for kvx-printjob --text: lines of ordinary words (one in seven
in Hangul), each shorter than the A4 line, 50 to a page, so PAGES pages come out (a little
more where a Hangul line wraps). Written a line at a time: any size fits.
   make_text.py OUT.txt PAGES"""
import random
import sys

WORDS = ("the printer lays every line of a page out as text and the converter makes "
         "a portable document of it while the reader waits for proofs").split()
HANGUL = "한글 문장도 함께 인쇄됩니다 페이지마다 줄이 쉰 개씩 들어갑니다".split()


def main():
    out, pages = sys.argv[1], int(sys.argv[2])
    rng = random.Random(24)
    with open(out, "w", encoding="utf-8") as text:
        for number in range(pages * 50):
            if number % 7 == 3:
                line = " ".join(rng.choice(HANGUL) for _ in range(9))[:40]
            else:
                line = " ".join(rng.choice(WORDS) for _ in range(14))[:72]
            text.write(line + "\n")


if __name__ == "__main__":
    main()
