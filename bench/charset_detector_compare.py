#!/usr/bin/env python3
"""ICU's charset detector against uchardet on the statistical step's input.

Builds the same kind of labelled texts as charset_detection_bench.py (Arabic,
French, Greek, Russian, Hebrew, Czech, Chinese, Japanese and Korean
sentences from the machine's .mo catalogues, at several lengths, saved in
the legacy charsets that reach the statistical step) and
asks both detectors for their first answer on each text, as the step sees it
with the markup left out. Prints, per cell, how often each named the charset
that reads the text back as it was written (French saved in
windows-1256 reads the same in windows-1252), and the time each takes. Texts without a byte beyond ASCII never reach the step and are
left out. uchardet is optional: without libuchardet only ICU's figures show.

Usage: charset_detector_compare.py [--samples N]
"""
import argparse
import collections
import ctypes
import ctypes.util
import random
import sys
import time

import charset_detection_bench as labelled

LENGTHS = [10, 30, 100, 300, 3000]
CELLS = [("ar", "windows-1256", "cp1256"), ("ar", "iso-8859-6", "iso8859_6"),
         ("fr", "windows-1252", "cp1252"), ("fr", "windows-1256", "cp1256"),
         ("el", "iso-8859-7", "iso8859_7"), ("ru", "windows-1251", "cp1251"),
         ("ru", "koi8-r", "koi8_r"), ("he", "windows-1255", "cp1255"),
         ("cs", "windows-1250", "cp1250"), ("cs", "iso-8859-2", "iso8859_2"),
         ("zh_CN", "gbk", "gbk"), ("zh_CN", "gb18030", "gb18030"),
         ("zh_TW", "big5", "big5"), ("ja", "shift_jis", "cp932"),
         ("ja", "euc-jp", "euc_jp"), ("ko", "euc-kr", "euc_kr")]
# Detectors' names as web browsers read them.
CODECS = {"iso-8859-1": "cp1252", "windows-1252": "cp1252", "windows-1256": "cp1256",
          "iso-8859-6": "iso8859_6", "iso-8859-7": "iso8859_7", "windows-1253": "cp1253",
          "utf-8": "utf-8", "iso-8859-15": "iso8859_15", "windows-1250": "cp1250",
          "iso-8859-2": "iso8859_2", "windows-1251": "cp1251", "iso-8859-9": "cp1254",
          "windows-1254": "cp1254", "iso-8859-5": "iso8859_5", "koi8-r": "koi8_r",
          "iso-8859-8": "iso8859_8", "windows-1255": "cp1255",
          "iso-8859-8-i": "iso8859_8", "gb18030": "gb18030", "gbk": "gbk",
          "big5": "big5", "shift_jis": "cp932", "euc-jp": "euc_jp",
          "euc-kr": "cp949", "uhc": "cp949"}


def reads_right(data, name, text):
    """Whether the bytes read in the named charset give the text back."""
    codec = CODECS.get(name.lower())
    try:
        return codec is not None and data.decode(codec) == " " + text + " "
    except UnicodeDecodeError:
        return False


def arabic_in(data):
    """vantrel's letter rule (ArabicIn in charset_detection.cpp)."""
    high = [b for b in data if b >= 0x80]
    shared = sum(0xC1 <= b <= 0xD6 for b in high)
    if not high or shared * 4 < len(high):
        return None
    if any(0xDB <= b <= 0xDF for b in high):
        return "windows-1256"
    if any(b == 0xD7 or 0xE7 <= b <= 0xEA for b in high):
        return "iso-8859-6"
    return "either"


def with_letter_rule(data, answers):
    """The step as vantrel takes it: Arabic text gets one of the two Arabic
    charsets, the letters' one when they name one; else the first answer."""
    arabic = arabic_in(data)
    fits = {None: None, "either": ("windows-1256", "iso-8859-6"),
            "windows-1256": ("windows-1256",), "iso-8859-6": ("iso-8859-6",)}[arabic]
    for name in answers:
        if fits is None or name.lower() in fits:
            return name
    return fits[0] if fits else ""


def icu_detector():
    lib = ctypes.CDLL(ctypes.util.find_library("icui18n") or "libicui18n.so")
    suffix = next(s for s in [""] + ["_%d" % v for v in range(90, 50, -1)]
                  if hasattr(lib, "ucsdet_open" + s))
    fn = lambda name: getattr(lib, name + suffix)
    open_, set_text, detect = fn("ucsdet_open"), fn("ucsdet_setText"), fn("ucsdet_detectAll")
    get_name, close = fn("ucsdet_getName"), fn("ucsdet_close")
    open_.restype = ctypes.c_void_p
    detect.restype = ctypes.POINTER(ctypes.c_void_p)
    get_name.restype = ctypes.c_char_p
    for f in (set_text, detect, get_name, close):
        f.argtypes = None

    def detect_one(data):
        status = ctypes.c_int(0)
        d = open_(ctypes.byref(status))
        set_text(ctypes.c_void_p(d), data, len(data), ctypes.byref(status))
        found = ctypes.c_int(0)
        matches = detect(ctypes.c_void_p(d), ctypes.byref(found), ctypes.byref(status))
        names = [get_name(ctypes.c_void_p(matches[i]), ctypes.byref(status)).decode()
                 for i in range(found.value)]
        close(ctypes.c_void_p(d))
        return names
    return detect_one


def uchardet_detector():
    path = ctypes.util.find_library("uchardet")
    if not path:
        return None
    lib = ctypes.CDLL(path)
    lib.uchardet_new.restype = ctypes.c_void_p
    lib.uchardet_get_charset.restype = ctypes.c_char_p
    for name in ("uchardet_handle_data", "uchardet_data_end", "uchardet_get_charset",
                 "uchardet_delete"):
        getattr(lib, name).argtypes = None

    def detect_one(data):
        d = ctypes.c_void_p(lib.uchardet_new())
        lib.uchardet_handle_data(d, data, ctypes.c_size_t(len(data)))
        lib.uchardet_data_end(d)
        name = lib.uchardet_get_charset(d).decode()
        lib.uchardet_delete(d)
        return [name]
    return detect_one


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--samples", type=int, default=60)
    args = parser.parse_args()
    rng = random.Random(20)
    detectors = [("ICU", icu_detector())]
    uchardet = uchardet_detector()
    if uchardet:
        detectors.append(("uchardet", uchardet))
    else:
        print("libuchardet not found: ICU only")
    sentences = {lang: [s for s in labelled.catalogue_texts(lang) if labelled.fits(s, lang)]
                 for lang in sorted({cell[0] for cell in CELLS})}
    seconds = collections.Counter()
    texts = 0
    print("First answer alone, and with the Arabic letter rule applied to every text "
          "(+rule; vantrel applies it unless both detectors read the text alike "
          "in a charset of another script, which KOI8-R, GBK and EUC-KR need):")
    print("| language | charset | letters | " +
          " | ".join("%s | %s+rule" % (name, name) for name, _ in detectors) + " |")
    print("|---|---|---|" + "---|---|" * len(detectors))
    for lang, charset, codec in CELLS:
        if not sentences[lang]:
            continue
        for length in LENGTHS:
            right = [0] * (2 * len(detectors))
            pages = 0
            tries = 0
            while pages < args.samples and tries < args.samples * 20:
                tries += 1
                text = labelled.text_of_letters(sentences[lang], length, rng)
                data = (" " + text + " ").encode(codec)
                if all(b < 0x80 for b in data):
                    continue
                pages += 1
                texts += 1
                for i, (name, detect) in enumerate(detectors):
                    start = time.perf_counter()
                    answers = detect(data)
                    seconds[name] += time.perf_counter() - start
                    right[2 * i] += reads_right(data, answers[0] if answers else "", text)
                    right[2 * i + 1] += reads_right(data, with_letter_rule(data, answers), text)
            cells = " | ".join("%5.1f%% (%d/%d)" % (100.0 * r / pages, r, pages)
                               if pages else "-" for r in right)
            print("| %s | %s | %d | %s |" % (lang, charset, length, cells))
    print("\nTime per text (through ctypes, detector made and freed each time):")
    for name, _ in detectors:
        print("  %s: %.1f us" % (name, 1e6 * seconds[name] / max(texts, 1)))


if __name__ == "__main__":
    sys.exit(main())
