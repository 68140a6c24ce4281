#!/usr/bin/python3
"""Writes the report template resources/отчёт/otchet4.rtf.

The report of a lightning-protection calculation for a building protected by a
single catenary. Tags such as ##ll& stand where the program puts the design
values; each occurs exactly as many times as the program fills it.

The RTF is written as Word writes Russian documents: code page 1251, Cyrillic as
\\'hh, characters outside the code page as \\uN with a "?" fallback.
Usage: tools/report/make_template.py  (no packages beyond Python 3 needed)
"""
import collections
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]
OUT = ROOT / "resources" / "отчёт" / "otchet4.rtf"

# How often the program fills each tag.
TAG_COUNTS = {"##ll&": 1, "##ss&": 1, "##hh&": 1, "##nn&": 1, "##ka&": 1, "##zo&": 1,
              "##vi&": 2, "##aa&": 2, "##hx&": 2, "##h0&": 2, "##r0&": 5, "##rx&": 4,
              "#2rx&": 1, "#2r0&": 1}


def text(s):
    """Escapes plain text for RTF."""
    out = []
    for ch in s:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            try:
                out.append("\\'%02x" % ch.encode("cp1251")[0])
            except UnicodeEncodeError:
                code = ord(ch)
                out.append("\\u%d?" % (code - 65536 if code > 32767 else code))
    return "".join(out)


def run(s, fmt=""):
    """A run of text; fmt holds control words such as \\b or \\i."""
    return "{%s %s}" % (fmt, text(s)) if fmt else text(s)


def par(*runs, style="\\s0\\qj\\fi567\\sa60", size=24):
    return "{\\pard\\plain %s\\f0\\fs%d %s\\par}\n" % (style, size, "".join(runs))


def heading(s):
    return par(run(s, "\\b"), style="\\s1\\ql\\keepn\\sb240\\sa120", size=26)


def formula(s):
    return par(run(s, "\\i"), style="\\s0\\qc\\sb60\\sa60")


# Table rows: widths in twips of a 9355-twip text width.
def table(rows, widths=(6355, 3000), header=False):
    out = []
    for i, cells in enumerate(rows):
        bold = header and i == 0
        row = ["\\trowd\\trgaph108\\trleft0\\trqc"]
        x = 0
        for w in widths:
            x += w
            row.append("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                       "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10\\cellx%d" % x)
        for j, cell in enumerate(cells):
            align = "\\ql" if j == 0 else "\\qc"
            content = cell if isinstance(cell, str) and cell.startswith("{") else run(cell)
            if bold:
                content = "{\\b %s}" % content
            row.append("\\pard\\plain\\intbl%s\\f0\\fs24 %s\\cell" % (align, content))
        row.append("\\row")
        out.append("".join(row) + "\n")
    return "".join(out) + "\\pard\\plain\\s0\\f0\\fs24\\par\n"


def body():
    b = []
    b.append(par(run("РАСЧЁТ МОЛНИЕЗАЩИТЫ ЗДАНИЯ", "\\b"), style="\\qc\\sa60", size=32))
    b.append(par(run("одиночным тросовым молниеотводом по РД 34.21.122-87 «Инструкция "
                     "по устройству молниезащиты зданий и сооружений»"),
                 style="\\qc\\sa360", size=24))

    b.append(heading("1. Исходные данные"))
    b.append(table([
        ["Величина", "Значение"],
        ["Ширина здания S, м", "##ll&"],
        ["Длина здания L, м", "##ss&"],
        ["Наибольшая высота здания h, м", "##hh&"],
        ["Высота опор троса hоп, м", "##vi&"],
        ["Длина пролёта троса a, м", "##aa&"],
        ["Высота защищаемого уровня hx, м", "##hx&"],
    ], header=True))

    b.append(heading("2. Ожидаемое количество поражений молнией в год"))
    b.append(par(run("Ожидаемое количество поражений молнией в год здания "
                     "прямоугольной формы, не оборудованного молниезащитой, определено "
                     "по формуле")))
    b.append(formula("N = [(S + 6h)(L + 6h) − 7,7h²] · n · 10⁻⁶,"))
    b.append(par(run("где n — среднегодовое число ударов молнии в 1 км² земной "
                     "поверхности в месте расположения здания, принятое по карте "
                     "средней за год продолжительности гроз в часах.")))
    b.append(par(run("Ожидаемое количество поражений молнией в год: N = "),
                 run("##nn&", "\\b"), run(".")))

    b.append(heading("3. Категория молниезащиты и тип зоны защиты"))
    b.append(par(run("По назначению здания, его расположению и ожидаемому количеству "
                     "поражений молнией в год согласно таблице 1 Инструкции приняты:")))
    b.append(table([
        ["Категория молниезащиты", "##ka&"],
        ["Тип зоны защиты", "##zo&"],
    ]))

    b.append(heading("4. Молниеотвод"))
    b.append(par(run("Принят одиночный тросовый молниеотвод: стальной трос сечением "
                     "35–50 мм², натянутый между двумя опорами высотой hоп при длине "
                     "пролёта a = "), run("##aa&"),
                 run(" м. Высота троса в середине пролёта с учётом его провеса "
                     "(при длине пролёта до 120 м)")))
    b.append(formula("h = hоп − 2 = ##vi& − 2 м."))

    b.append(heading("5. Размеры зоны защиты"))
    b.append(par(run("Зона защиты одиночного тросового молниеотвода высотой h "
                     "ограничена симметричными двускатными поверхностями, образующими в "
                     "вертикальном сечении равнобедренный треугольник с вершиной на "
                     "высоте h0 < h и основанием на уровне земли 2r0. Её габариты "
                     "определяются по формулам:")))
    b.append(par(run("для зоны А: ", "\\b"),
                 run("h0 = 0,85h;  r0 = (1,35 − 0,0025h)h;  "
                     "rx = (1,35 − 0,0025h)(h − hx/0,85);", "\\i"),
                 style="\\s0\\ql\\li567\\sa60"))
    b.append(par(run("для зоны Б: ", "\\b"),
                 run("h0 = 0,92h;  r0 = 1,7h;  rx = 1,7(h − hx/0,92).", "\\i"),
                 style="\\s0\\ql\\li567\\sa120"))
    b.append(par(run("Результаты расчёта:")))
    b.append(table([
        ["Величина", "Значение, м"],
        ["Вершина защищаемой зоны h0", "##h0&"],
        ["Радиус зоны защиты на уровне земли r0", "##r0&"],
        ["Радиус зоны защиты на высоте hx = ##hx& м, rx", "##rx&"],
        ["Ширина зоны защиты на уровне земли 2r0", "#2r0&"],
        ["Ширина зоны защиты на высоте hx, 2rx", "#2rx&"],
    ], header=True))
    b.append(par(run("На уровне земли зона защиты представляет собой полосу шириной "
                     "2r0, ограниченную линиями, отстоящими от проекции троса на "
                     "r0 = "), run("##r0&"), run(" м в каждую сторону; на высоте hx — "
                     "полосу, ограниченную линиями на расстоянии rx = "), run("##rx&"),
                 run(" м от проекции троса. У опор зона ограничена полуокружностями "
                     "радиусами r0 = "), run("##r0&"), run(" м и rx = "), run("##rx&"),
                 run(" м соответственно.")))

    b.append(heading("6. Заключение"))
    b.append(par(run("Защищаемый уровень здания на высоте hx находится в зоне защиты, "
                     "если он не выходит за её границы: по высоте — не выше вершины зоны "
                     "h0 = "), run("##h0&"), run(" м, в плане — в пределах полосы "
                     "шириной 2rx = 2 · "), run("##rx&"), run(" м вдоль троса. Ширина "
                     "зоны на уровне земли составляет 2 · "), run("##r0&"),
                 run(" м. При высоте защищаемого уровня, не меньшей h0, или при "
                     "отрицательном rx уровень hx зоной не защищён: следует увеличить "
                     "высоту опор.")))
    b.append(par(run("Сводка: r0 = "), run("##r0&"), run(" м."),
                 style="\\s0\\ql\\sb120\\sa360"))
    b.append(par(run("Расчёт выполнил: ______________________  /______________________/"),
                 style="\\s0\\ql\\sb480\\sa240"))
    b.append(par(run("Проверил: ______________________  /______________________/"),
                 style="\\s0\\ql\\sa240"))
    b.append(par(run("Дата: «____» ______________ 20____ г."), style="\\s0\\ql"))
    return "".join(b)


def document():
    head = ("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\deflangfe1049\n"
            "{\\fonttbl{\\f0\\froman\\fcharset204\\fprq2 Times New Roman;}"
            "{\\f1\\fswiss\\fcharset204\\fprq2 Arial;}}\n"
            "{\\colortbl;\\red0\\green0\\blue0;}\n"
            "{\\stylesheet{\\s0\\qj\\f0\\fs24 " + text("Обычный") + ";}"
            "{\\s1\\ql\\keepn\\b\\f0\\fs26 " + text("Заголовок 1") + ";}}\n"
            "{\\info{\\title " + text("Расчёт молниезащиты здания") + "}"
            "{\\author Vostrel v1.0}}\n"
            "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134"
            "\\viewkind4\\uc1\n")
    return head + body() + "}\n"


def main():
    rtf = document()
    counts = collections.Counter(re.findall(r"#[#2][a-z0-9]{2}&", rtf))
    if dict(counts) != TAG_COUNTS:
        raise SystemExit("tag counts differ: %s" % dict(counts))
    OUT.parent.mkdir(parents=True, exist_ok=True)
    OUT.write_bytes(rtf.encode("ascii"))


if __name__ == "__main__":
    main()
