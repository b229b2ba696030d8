#!/usr/bin/env python3
"""Makes the Traditional Chinese (Taiwan) interface texts from the Simplified Chinese ones.

OpenCC converts each text with its s2twp configuration (Taiwan characters and phrases); the
glossary below then puts right the radio and programming terms that the converter gets wrong for
Taiwan usage. The output is committed, so building the program does not need OpenCC (Debian
package opencc); run this script again after changing a Simplified Chinese text.

It writes:
  src/base/text_table_traditional.inc  language 2's text of every message number that has a
                                       Simplified Chinese text in src/base/text_table.cpp
  resources/TQ474.ini                  the [ChInfo] keys from 2000, made from the keys from 1000

Usage:
  tools/make_traditional.py             rewrite both files
  tools/make_traditional.py --check     write nothing; exit 1 when either file is out of date
  tools/make_traditional.py --text T..  print the conversion of each text T (for texts kept by
                                        hand elsewhere in the code)
  tools/make_traditional.py --lint F..  list the lines of Traditional Chinese files (the manual)
                                        that hold a form the glossary corrects
"""

import argparse
import re
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TEXT_TABLE = ROOT / "src/base/text_table.cpp"
TRADITIONAL_TABLE = ROOT / "src/base/text_table_traditional.inc"
SETTINGS = ROOT / "resources/TQ474.ini"

# Applied in this order to the converter's output: (what the converter gives, as a regular
# expression; what Taiwan radio usage says; the Simplified term it came from).
GLOSSARY = [
    ("通道", "頻道", "信道: a radio channel"),
    ("亞音訊", "亞音頻", "亚音频: the sub-audible tone (CTCSS or DCS)"),
    ("寬帶", "寬頻", "宽带: wide bandwidth, paired with 窄頻"),
    ("窄帶", "窄頻", "窄带: narrow bandwidth, paired with 寬頻"),
    ("串列埠", "序列埠", "串口: the serial port"),
    ("通訊埠", "序列埠", "通信端口: the communication port, which is the serial port"),
    ("(?<!序列)埠", "序列埠", "端口: any other port"),
    ("其它", "其他", "其它: other"),
    ("程式設計", "編程", "编程: programming a radio, not writing software"),
    ("打印", "列印", "打印: printing, which the converter misses in some phrases"),
    ("專案", "項目", "项目: an item of a list, not a project"),
    ("通訊程序", "通訊進程", "通信进程: the course of a transfer, not an operating-system process"),
    ("幫助", "說明", "帮助: the Help menu and its topics"),
    ("當前", "目前", "当前: current"),
    ("檔案型別", "檔案類型", "文件类型: a file type"),
    ("自定義", "自訂", "自定义: custom"),
    ("電平", "等級", "电平: a squelch or gain level"),
    ("新建", "新增", "新建: File > New"),
    ("另存為", "另存新檔", "另存为: File > Save As"),
    ("退出", "結束", "退出: leaving the program"),
    ("中文簡體", "簡體中文", "中文简体: the language's name"),
    ("中文繁體", "繁體中文", "中文繁体: the language's name"),
    ("掃描新增", "掃描加入", "扫描添加: a channel in the scan list"),
]

ROW = re.compile(r'\{(\d+),\s*"((?:[^"\\]|\\.)*)",\s*"((?:[^"\\]|\\.)*)"\}')
KEY_LINE = re.compile(r"^(\d+)=(.*)$")
SIMPLIFIED_HEADER = "; Simplified Chinese"
TRADITIONAL_HEADER = (
    "; Traditional Chinese: made by tools/make_traditional.py from the keys from 1000"
)


def apply_glossary(text):
    for wrong, right, _ in GLOSSARY:
        text = re.sub(wrong, right, text)
    return text


def convert(texts):
    """The Traditional Chinese form of each text, glossary applied."""
    if not texts:
        return []
    opencc = shutil.which("opencc")
    if opencc is None:
        sys.exit("make_traditional.py: OpenCC is missing (apt-get install opencc)")
    for text in texts:
        if "\n" in text:
            sys.exit(f"make_traditional.py: a text spans lines: {text!r}")
    result = subprocess.run(
        [opencc, "-c", "s2twp"],
        input="\n".join(texts) + "\n",
        capture_output=True,
        text=True,
        encoding="utf-8",
        check=True,
    )
    converted = result.stdout.split("\n")[: len(texts)]
    if len(converted) != len(texts):
        sys.exit("make_traditional.py: OpenCC returned fewer lines than it was given")
    return [apply_glossary(text) for text in converted]


def text_rows():
    """(number, Simplified Chinese C literal) of every row of the text table."""
    source = TEXT_TABLE.read_text(encoding="utf-8")
    start = source.index("constexpr TextRow kTexts[] = {")
    end = source.index("\n};", start)
    rows = [(int(m.group(1)), m.group(2)) for m in ROW.finditer(source, start, end)]
    if not rows:
        sys.exit("make_traditional.py: no rows found in " + str(TEXT_TABLE))
    return rows


def traditional_table():
    rows = text_rows()
    # The texts stay C literals: the converter leaves the escapes (\") as they are.
    converted = convert([literal for _, literal in rows])
    lines = [
        "// Traditional Chinese (Taiwan) texts of the interface by message number: one row for every",
        "// row of kTexts. Made by tools/make_traditional.py from the Simplified Chinese column;",
        "// change that column or the script's glossary and run it again rather than edit this file.",
        "constexpr TraditionalRow kTraditionalTexts[] = {",
    ]
    lines += [f'    {{{number}, "{text}"}},' for (number, _), text in zip(rows, converted)]
    lines.append("};")
    return "\n".join(lines) + "\n"


def is_traditional_key(line):
    m = KEY_LINE.match(line)
    return m is not None and 2000 <= int(m.group(1)) < 3000


def is_block_comment(line):
    return line.startswith(";") and not line.startswith("; English")


def settings_with_traditional_layout():
    """TQ474.ini with its [ChInfo] keys from 2000 made anew from the keys from 1000."""
    lines = SETTINGS.read_text(encoding="utf-8").split("\n")
    start = lines.index(SIMPLIFIED_HEADER)
    # The Simplified Chinese block: its header, key lines from 1000 and comments between them.
    end = start + 1
    last_key = start
    while end < len(lines):
        m = KEY_LINE.match(lines[end])
        if m and 1000 <= int(m.group(1)) < 2000:
            last_key = end
        elif not lines[end].startswith(";"):
            break
        end += 1
    block = lines[start + 1 : last_key + 1]
    rest = lines[last_key + 1 :]
    # An older Traditional Chinese block follows the Simplified one: its header, its keys from
    # 2000 and the comments between them give way to the new block.
    if rest and rest[0] == TRADITIONAL_HEADER:
        k = 1
        while k < len(rest) and (is_traditional_key(rest[k]) or is_block_comment(rest[k])):
            k += 1
        rest = rest[k:]

    values = []
    for line in block:
        m = KEY_LINE.match(line)
        if m and not m.group(2).isascii():
            values.append(m.group(2))
    converted = iter(convert(values))
    made = [TRADITIONAL_HEADER]
    for line in block:
        m = KEY_LINE.match(line)
        if not m:
            made.append(line)
            continue
        key = int(m.group(1)) + 1000
        value = m.group(2) if m.group(2).isascii() else next(converted)
        made.append(f"{key}={value}")
    return "\n".join(lines[: last_key + 1] + made + rest)


def lint(paths):
    found = 0
    for path in paths:
        for number, line in enumerate(Path(path).read_text(encoding="utf-8").split("\n"), 1):
            for wrong, right, term in GLOSSARY:
                for m in re.finditer(wrong, line):
                    found += 1
                    print(f"{path}:{number}: {m.group(0)} -> {right} ({term})")
    return 1 if found else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    group = parser.add_mutually_exclusive_group()
    group.add_argument("--check", action="store_true")
    group.add_argument("--text", nargs="+")
    group.add_argument("--lint", nargs="+")
    args = parser.parse_args()
    if args.text:
        for text in convert(args.text):
            print(text)
        return 0
    if args.lint:
        return lint(args.lint)
    outputs = [
        (TRADITIONAL_TABLE, traditional_table()),
        (SETTINGS, settings_with_traditional_layout()),
    ]
    stale = [path for path, text in outputs if not path.exists() or path.read_text("utf-8") != text]
    if args.check:
        for path in stale:
            print(f"{path.relative_to(ROOT)} is out of date: run tools/make_traditional.py")
        return 1 if stale else 0
    for path, text in outputs:
        if path in stale:
            path.write_text(text, encoding="utf-8")
            print(f"wrote {path.relative_to(ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
