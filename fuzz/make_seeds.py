#!/usr/bin/env python3
"""Writes the seed inputs of the three fuzz targets into fuzz/seeds/<target>/.

Each seed is one worked example of the toolkit (the cases its tests check by hand), laid out
as the target reads its input (see the comment at the top of each target). Run it again
after changing the examples; the seeds are committed.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def word(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def write(target, seeds):
    folder = os.path.join(HERE, "seeds", target)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    for i, seed in enumerate(seeds):
        with open(os.path.join(folder, "%02d" % i), "wb") as f:
            f.write(seed)


def text_seed(text, pattern, start=0, count=-1, flags=0, char=b" ", aux=0, mode=0):
    return (bytes([mode]) + word(flags) + word(start) + word(count) + word(aux) + char +
            text + b"\0" + pattern)


def list_seed(delim, text, item=b"", flags=0, index=0):
    return word(flags) + word(index) + bytes([len(delim)]) + delim + b"\0" + text + b"\0" + item


CMD, RAW, LIST, ITEM, DEFAULT, OWN, NONE = range(7)


def key_seed(text, section, key, value=b"", selector=CMD, own=b"[]=\"\0\0\r\n\x03\0\0\0",
             position=0):
    return (bytes([selector]) + own + word(position) + text + b"\0" + section + b"\0" + key +
            b"\0" + value)


def lines(*items):
    return b"".join(item + b"\r\n" for item in items)


TEXT = [
    text_seed(b"xAbcabcABCab", b"bc"),
    text_seed(b"xAbcabcABCab", b"BC", flags=0x2),
    text_seed(b"xAbcabcABCab", b"bc", start=11, flags=0x1),
    text_seed(b"xAbcabcABCab", b"bc", start=3, count=1),
    text_seed(b"xAbcabcABCab", b"bc", start=-1, flags=0x10000),
    text_seed(b"xxabxxab", b"ab", count=3),
    text_seed(b"c:\\a/b\\c.txt", b"\\/", flags=0x21),
    text_seed(b"  ab  cd  ", b" ", start=9, flags=0x20005),
    text_seed(b"  ab  cd  ", b" ", start=-1, flags=0x30004),
    text_seed(b"a\\b\\\\", b"\\", start=-1, flags=0x30000, char=b"\\"),
    text_seed(b" \"\"x", b"\"", flags=0x20000, char=b"\""),
    text_seed(b"abc=d=f", b"=", start=1, char=b"="),
    text_seed(b"abcdef", b"XY", start=2, count=3, aux=4),
    text_seed(b"abcdefg", b"", start=1, count=2, aux=4, char=b"\x03"),
    text_seed(b"a|nb|r||x|x41|#65|x100000041y|#300|zy|", b"", char=b"|", flags=0x100),
    text_seed(b"Hello", b"hello"),
    text_seed(b"  ab ", b"ab", flags=0x4),
    text_seed(b"hkey_users",
              b"HKEY_CLASSES_ROOT;HKEY_CURRENT_USER;HKEY_LOCAL_MACHINE;HKEY_USERS"),
    text_seed(b"abcdef", b"", start=7, count=9, aux=2, mode=7),
]

LISTS = [
    list_seed(b"::", b"a::::b"),
    list_seed(b"::", b"a:::b"),
    list_seed(b";", b"", flags=1),
    list_seed(b";", b"a;b;c", flags=1, index=1),
    list_seed(b";", b"a;b;c", flags=9),
    list_seed(b";", b"a;b;c", flags=4, index=5),
    list_seed(b";", b"a;b;c", b"d", flags=0x10),
    list_seed(b";", b"a;b;c", b"B", flags=0x20),
    list_seed(b";", b"a;b;c", b"B", flags=0x80),
    list_seed(b";", b"a;Bc;c", b"bc", flags=0x10000),
    list_seed(b";", b"a;;b", b""),
    list_seed(b";", b"a;b;a;c;b;a", flags=0x100),
    list_seed(b";", b"a;;b;;c", flags=0x100),
    list_seed(b";", b"10;9;100"),
    list_seed(b";", b"B;a;C", flags=0x10000),
    list_seed(b"\xa7", b"Name=C:\\a.exe\xa7Name=C:\\b.exe\xa7\xa7Name=C:\\c.exe",
              b"name=c:\\B.EXE", flags=0x10),
    list_seed(b"\\", b"C:\\Apps\\Tool\\plugins", flags=9),
    list_seed(b": ", b"FILE: Name=C:\\x: y", flags=1),
]

LOG = lines(
    b"[UNINSTALL]",
    b"Files=",
    b"\"Name=C:\\Apps\\Example Tool\\tool.exe",
    b"\"Name=C:\\Apps\\Example Tool\\help\\tool.hlp",
    b"\"Name=C:\\Apps\\Example Tool\\plugins\\view.ocx",
    b"\"Name=C:\\Windows\\System\\common.dll",
    b"Links=",
    b"\"Name=C:\\Windows\\Start Menu\\Programs\\Example Tool\\Example Tool.lnk",
    b"Registers=",
    b"\"Key=HKEY_CURRENT_USER\\Software\\Example\\Tool\xf7\xf7Name=LastFolder",
    b"\"Key=HKEY_LOCAL_MACHINE\\Software\\Example\\Tool\xf7\xf7Name=Version",
    b"",
    b"[UNINSTALLREG]",
    b"Registers=",
    b"\"Key=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    b"Example Tool\xf7\xf7Name=DisplayName",
    b"",
    b"[UNINSTALLCMD]",
    b"Install path=C:\\Apps\\Example Tool",
    b"CustomUninstall=1",
    b"OnTest=0",
    b"Title=Remove Example Tool",
    b"PAGE1=This will remove Example Tool from your computer.|nChoose how to proceed.",
    b"PAGE3=Click Start to begin.",
    b" \"Click Cancel to keep everything.",
    b"DLGENDOK=Example Tool has been removed.",
)
READING = lines(b"[S]", b"k1=one", b"  K2=two ", b"xk3=no", b"k3 = sp", b"[T]", b"k4=four")
WRITING = lines(b"[S]", b"k1=one", b"m=a", b" \"b", b"", b"[T]", b"k4=four")
ITEM_TEXT = b"Key=K\xf7\xf7 Name=val\xf7\xf7Size=3"

KEYTEXT = [
    key_seed(LOG, b"UNINSTALL", b"Files", selector=LIST),
    key_seed(LOG, b"UNINSTALL", b"Files", b"\r\n\"Name=C:\\new.txt", selector=RAW),
    key_seed(LOG, b"UNINSTALLCMD", b"PAGE3", b"Click.", selector=CMD),
    key_seed(LOG, b"", b"Install path", selector=RAW),
    key_seed(LOG, b"UNINSTALL", b"", b"Files=\r\n\"Name=C:\\a.exe", selector=RAW),
    key_seed(READING, b"s", b"k2", selector=CMD),
    key_seed(READING, b"T", b"", selector=CMD),
    key_seed(WRITING, b"S", b"m", b"X", selector=CMD),
    key_seed(WRITING, b"U", b"k", b"v", selector=RAW),
    key_seed(WRITING, b"T", b"", b"", selector=CMD),
    key_seed(WRITING, b"S", b"", b"q=1\r\nr=2", selector=RAW),
    key_seed(lines(b"[S]", b"m=line1", b"  \"line2", b"\"line3"), b"S", b"m", selector=LIST),
    key_seed(ITEM_TEXT, b"", b"Name", b"other", selector=ITEM),
    key_seed(b"[S]\nk=v\n", b"S", b"k", b"w", selector=CMD),
    key_seed(b"", b"S", b"k", b"v", selector=RAW),
    key_seed(b"[S]\r\nk=1", b"T", b"j", b"2", selector=DEFAULT),
    key_seed(b"[S]\r\nk=a\r\n\"b", b"S", b"k", b"c", selector=OWN,
             own=b"[]=\"\r\n\r\n\x01\0\0\0"),
    key_seed(b"[S]\r\nk=a\r\n+b\r\n", b"s", b"K", b"c", selector=NONE, position=5),
]

if __name__ == "__main__":
    write("text", TEXT)
    write("lists", LISTS)
    write("keytext", KEYTEXT)
