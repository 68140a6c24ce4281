#!/usr/bin/python3
"""Writes the report templates resources/отчёт/otchet1.rtf … otchet6.rtf.

One template per kind of lightning rod, numbered by the program's rod code:
1 single rod, 2 two rods of equal height, 3 two rods of different heights,
4 single catenary, 5 double catenary, 6 a system of several rods. A system's
tables have one row of tags under their header: each tag's value is a column
of the table, a line for each rod (pair), so the rows line up. Each is the report of a lightning-
protection calculation after RD 34.21.122-87, Appendix 3. Tags such as ##ll&
stand where the program puts the design values; the k-th value written for a
tag fills its k-th occurrence, so each tag occurs exactly as many times as the
program fills it (TAG_COUNTS).

The RTF is written as Word writes Russian documents: code page 1251, Cyrillic as
\\'hh, characters outside the code page as \\uN with a "?" fallback. In the
texts below "_{…}" marks a subscript and "^{…}" a superscript.
Before writing, each document is read back by a small RTF reader (read_rtf)
that checks the group structure and counts the tags in the visible text.
Usage: tools/report/make_template.py [--check]  (no packages beyond Python 3 needed)
"""
import collections
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]
OUT_DIR = ROOT / "resources" / "отчёт"

# How often the program fills each tag, per template, in the order the tags
# first occur in the document.
START = {"##wr&": 1, "##ll&": 1, "##ss&": 1, "##hh&": 1, "##bt&": 1, "##lo&": 1,
         "##tg&": 1, "##dn&": 1}
# N with its numbers, the category, the zone type.
BUILDING = {"##nf&": 1, "##nn&": 1, "##ka&": 1, "##zo&": 1}
# The numbers under the formulas of zone А, then of zone Б.
NUMBERS = {"##fh&": 2, "##fr&": 2, "##fx&": 2}
INNER = {"##cs&": 1, "##in&": 1}
# The rods' placement on the site plan: x, y, the angle.
PLACEMENT = {"##px&": 1, "##py&": 1, "##pa&": 1}
END = {"##pc&": 1, "##cn&": 1, "##vd&": 1}
TAG_COUNTS = {
    "otchet1.rtf": {**START, "##hr&": 1, "##hx&": 2, **PLACEMENT, **BUILDING, **NUMBERS,
                    "##h0&": 2, "##r0&": 2, "##rx&": 2, **END},
    "otchet2.rtf": {**START, "##hr&": 1, "##ld&": 1, "##hx&": 2, **PLACEMENT, **BUILDING, **NUMBERS,
                    **INNER, "##h0&": 2, "##r0&": 2, "##rx&": 2, "##hc&": 1, "##rc&": 1,
                    "##cx&": 1, **END},
    "otchet3.rtf": {**START, "##h1&": 1, "##h2&": 1, "##ld&": 1, "##hx&": 2, **PLACEMENT, **BUILDING,
                    **NUMBERS, **INNER, "##01&": 1, "##r1&": 1, "##x1&": 2, "##02&": 1,
                    "##r2&": 1, "##x2&": 2, "##c1&": 1, "##c2&": 1, "##hc&": 1, "##rc&": 1,
                    "##cx&": 1, **END},
    "otchet4.rtf": {**START, "##vi&": 2, "##aa&": 2, "##hx&": 2, **PLACEMENT, **BUILDING, "##ch&": 1,
                    **NUMBERS, "##h0&": 2, "##r0&": 5, "##rx&": 4, "#2r0&": 1, "#2rx&": 1,
                    **END},
    "otchet5.rtf": {**START, "##vi&": 2, "##aa&": 2, "##ld&": 1, "##hx&": 2, **PLACEMENT, **BUILDING,
                    "##ch&": 1, **NUMBERS, **INNER, "##h0&": 2, "##r0&": 2, "##rx&": 2,
                    "##hc&": 1, "##rc&": 1, "##cx&": 1, "##rp&": 1, **END},
    # A system: hx, the counts of rods and pairs, the rods' columns (number,
    # x, y, h; then number, h0, r0, rx), the pairs' columns (pair, L, case,
    # hc, rc, rcx), the critical pair and its least rcx.
    "otchet6.rtf": {**START, "##hx&": 2, "##nr&": 2, "##sn&": 2, "##sx&": 1, "##sy&": 1,
                    "##sh&": 1, **BUILDING, **NUMBERS, "##kp&": 2, **INNER, "##s0&": 1,
                    "##sr&": 1, "##sq&": 1, "##np&": 2, "##qn&": 1, "##ql&": 1, "##qk&": 1,
                    "##qh&": 1, "##qr&": 1, "##qx&": 1, **END, "##mr&": 1},
}

# The single catenary's report inserts its fields' texts as they are: the
# results and the zone letter begin with blanks. Each of these tags must
# stand alone in a right-aligned cell, where the blanks vanish. Every other
# value is the program's own, trimmed.
AS_IS_TEMPLATE = "otchet4.rtf"
BLANK_LED = {"##zo&", "##h0&", "##r0&", "##rx&"}

TAG = re.compile(r"#[#2][a-z0-9]{2}&")
MARKUP = re.compile(r"([_^])\{([^{}]*)\}")
# A symbol of the formulas in running text: a Latin letter (with a prime, as
# in r′x) not inside a word, and its subscript; set in italics as in the
# formulas. Tags such as ##hx& never match: their letters touch others.
SYMBOL = re.compile(r"(?<![A-Za-z\u0400-\u04ff#])([hrLaSNn]′?(?:_\{[^{}]*\})?)"
                    r"(?![A-Za-z0-9\u0400-\u04ff&])")

# Paragraph formats. Running text is left-aligned with a first-line indent.
BODY = "\\s0\\ql\\fi567\\sa60\\widctlpar"       # no line of it alone on a page
INTRO = BODY + "\\keepn"                    # introduces the formulas under it
FORMULA = "\\s0\\qc\\sb40\\sa40"
LINE = "\\s0\\ql\\sa60"                     # left-aligned, no indent
TEXT_WIDTH = 9355                           # A4 less the margins, in twips


# --- RTF text --------------------------------------------------------------

def escape(s):
    """Plain text as RTF: cp1251 as \\'hh, other characters as \\uN?."""
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


def text(s, symbols=False):
    """Text with _{sub} and ^{super} marks as RTF \\sub and \\super runs;
    with `symbols`, the symbols of the formulas in italics."""
    if symbols:
        out, pos = [], 0
        for m in SYMBOL.finditer(s):
            out.append(text(s[pos:m.start()]))
            out.append("{\\i %s}" % text(m.group(1)))
            pos = m.end()
        out.append(text(s[pos:]))
        return "".join(out)
    out, pos = [], 0
    for m in MARKUP.finditer(s):
        out.append(escape(s[pos:m.start()]))
        out.append("{%s %s}" % ("\\sub" if m.group(1) == "_" else "\\super",
                                escape(m.group(2))))
        pos = m.end()
    out.append(escape(s[pos:]))
    return "".join(out)


class Rtf(str):
    """RTF code, written as it is (plain strings are escaped as text)."""


def rtf(piece):
    """Running text: its symbols in italics."""
    return piece if isinstance(piece, Rtf) else Rtf(text(piece, symbols=True))


def run(s, fmt):
    """A run of text; fmt holds control words such as \\b or \\i."""
    return Rtf("{%s %s}" % (fmt, text(s)))


def bold(s):
    return run(s, "\\b")


def par(*pieces, style=BODY, size=24):
    return "{\\pard\\plain %s\\f0\\fs%d %s\\par}\n" % (
        style, size, "".join(rtf(p) for p in pieces))


def heading(number, title):
    return par(bold("%d. %s" % (number, title)),
               style="\\s1\\ql\\keepn\\sb240\\sa120", size=26)


def formulas(intro, *lines):
    """An introducing paragraph kept with the centred formula lines under it."""
    out = [par(*intro, style=INTRO) if isinstance(intro, tuple) else par(intro, style=INTRO)]
    for i, line in enumerate(lines):
        keep = "\\keepn" if i < len(lines) - 1 else ""
        out.append(par(run(line, "\\i"), style=FORMULA + keep))
    return "".join(out)


def field(instruction, result):
    """A field: Word and Writer show its value, other readers the result."""
    return Rtf("{\\field{\\*\\fldinst %s}{\\fldrslt %s}}" % (instruction, text(result)))


BORDERS = ("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
           "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10")


# Tags whose values are texts, set left-aligned. Every other value is a number
# (or a category, a zone letter), set right-aligned: the column lines up, and
# the blanks that lead the single catenary's values vanish on the left.
TEXT_TAGS = {"##bt&", "##lo&", "##qk&"}


def table(rows, widths=(5355, 4000), header=False, split=False):
    """A bordered table, captions left, values right-aligned.

    With `split`, a row may break across pages: a system's row holds a line
    for each of up to 100 rods, more than a page, which a word processor
    would otherwise cut off.

    A row given as a single string is a subheading across the whole width.
    The header row (header=True) repeats on a new page; it and every
    subheading stay on the page of the row under them.
    """
    out = []
    for i, cells in enumerate(rows):
        first = header and i == 0
        sub = isinstance(cells, str)
        row_widths = (sum(widths),) if sub else widths
        if sub:
            cells = [bold(cells)]
        keep = first or sub
        row = ["\\trowd\\trgaph108\\trleft0\\trqc" + ("" if split and not first else "\\trkeep")
               + ("\\trkeepfollow" if keep else "") + ("\\trhdr" if first else "")]
        x = 0
        for w in row_widths:
            x += w
            row.append("%s\\cellx%d" % (BORDERS, x))
        for k, cell in enumerate(cells):
            content = rtf(cell)
            align = "\\ql"
            if first:
                content = "{\\b %s}" % content
                align = "\\qc" if k > 0 else "\\ql"
            elif k > 0 and cell not in TEXT_TAGS:
                align = "\\qr"
            row.append("\\pard\\plain\\intbl%s%s\\f0\\fs24 %s\\cell"
                       % (align, "\\keepn" if keep else "", content))
        row.append("\\row")
        out.append("".join(row) + "\n")
    return "".join(out) + "\\pard\\plain\\s0\\f0\\fs24\\par\n"


# --- Building blocks shared by the templates -------------------------------

class Rod:
    """What the shared sections say of one kind of rod."""

    def __init__(self, code, kind, by, of, catenary, centre=None, axis=None):
        self.file = "otchet%d.rtf" % code
        self.kind = kind            # "одиночный стержневой молниеотвод"
        self.by = by                # "одиночным стержневым молниеотводом"
        self.of = of                # "одиночного стержневого молниеотвода"
        self.catenary = catenary
        # A rod type placed as a whole: the point its placement gives (x, y)
        # and its axis, as the inputs name them; None for one without.
        self.centre = centre        # "середины между молниеотводами"
        self.axis = axis            # "линии молниеотводов"


def placement_rows(rod):
    """The rows of the inputs' table that give the placement on the plan."""
    if rod.centre is None:
        return []
    return ["Размещение на плане",
            ["Координата x %s, м" % rod.centre, "##px&"],
            ["Координата y %s, м" % rod.centre, "##py&"],
            ["Угол %s к оси x, °" % rod.axis, "##pa&"]]


PLAN_AXES = ("Начало координат плана — угол здания; ось x направлена вдоль длины "
             "здания L, ось y — вдоль его ширины S, здание занимает на плане "
             "прямоугольник [0, L] × [0, S]; угол отсчитывается от оси x против "
             "часовой стрелки.")


def title(rod):
    """The title, then the warning on what the report's values lack (empty
    when they lack nothing), in bold."""
    return (par(bold("РАСЧЁТ МОЛНИЕЗАЩИТЫ ЗДАНИЯ"), style="\\qc\\sa60", size=32)
            + par("%s по РД 34.21.122-87 «Инструкция по устройству молниезащиты "
                  "зданий и сооружений»" % rod.by, style="\\qc\\sa240")
            + par(bold("##wr&"), style="\\s0\\ql\\sa240"))


def inputs(n, rod, rod_rows):
    """The building, the thunderstorm activity and the rod's inputs."""
    limits = ("Формулы зон защиты Приложения 3 Инструкции применимы к "
              "молниеотводам высотой h ≤ 150 м")
    if rod.catenary:
        limits += ("; длина пролёта троса должна быть меньше 150 м (a < 150 м): "
                   "для больших пролётов Инструкция высоты троса не устанавливает")
    return (heading(n, "Исходные данные")
            + table([
                ["Величина", "Значение"],
                ["Ширина здания S, м", "##ll&"],
                ["Длина здания L, м", "##ss&"],
                ["Наибольшая высота здания h, м", "##hh&"],
                ["Назначение здания", "##bt&"],
                ["Местоположение здания", "##lo&"],
                ["Средняя продолжительность гроз в год, ч", "##tg&"],
                ["Удельная плотность ударов молнии в землю n, 1/(км^{2}·год)", "##dn&"],
            ] + rod_rows + placement_rows(rod), header=True)
            + (par(PLAN_AXES) if rod.centre else "")
            + par(limits + "."))


def strike_count(n):
    return (heading(n, "Ожидаемое количество поражений молнией в год")
            + formulas("Ожидаемое количество поражений молнией в год здания "
                       "прямоугольной формы, не оборудованного молниезащитой, "
                       "определено по формуле",
                       "N = [(S + 6h)(L + 6h) − 7,7h^{2}] · n · 10^{−6}##nf&,")
            + par("где S, L — ширина и длина здания, м; h — наибольшая высота "
                  "здания, м; n — среднегодовое число ударов молнии в 1 км^{2} "
                  "земной поверхности (удельная плотность ударов молнии в землю) в "
                  "месте расположения здания, принятое по средней за год "
                  "продолжительности гроз в часах.")
            + par("Ожидаемое количество поражений молнией в год: N = ",
                  bold("##nn&"), "."))


def category(n):
    return (heading(n, "Категория молниезащиты и тип зоны защиты")
            + par("По назначению здания, его местоположению и ожидаемому количеству "
                  "поражений молнией в год согласно таблице 1 Инструкции приняты:",
                  style=INTRO)
            + table([
                ["Категория молниезащиты", "##ka&"],
                ["Тип зоны защиты", "##zo&"],
            ])
            + par("Зона защиты типа А обладает степенью надёжности 99,5 % и выше, "
                  "типа Б — 95 % и выше."))


def cable_height(n, rod, layout):
    """The cable's height at mid-span from the supports' height and the span."""
    return (heading(n, "Высота троса")
            + par(layout + " Высота троса h в середине пролёта с учётом его "
                  "провеса принимается на 2 м ниже высоты опор h_{оп} при длине "
                  "пролёта a < 120 м и на 3 м ниже при 120 ≤ a < 150 м.")
            + formulas("Для принятого молниеотвода при длине пролёта a = ##aa& м "
                       "высота троса",
                       "##ch&."))


def single_zone(rod_formulas):
    """The formulas of zone A and zone B of a single rod or catenary."""
    (a0, ar0, arx), (b0, br0, brx) = rod_formulas
    # Under each formula of the zone that applies, its numbers.
    return (formulas((bold("для зоны А:"),), a0 + "##fh&;", ar0 + "##fr&;", arx + "##fx&.")
            + formulas((bold("для зоны Б:"),), b0 + "##fh&;", br0 + "##fr&;", brx + "##fx&.")
            + par("В обеих зонах r_{x} = r_{0}(h_{0} − h_{x})/h_{0}: при h_{x} ≥ "
                  "h_{0} радиус r_{x} ≤ 0, и уровень h_{x} зоной не защищён."))


ROD_FORMULAS = (
    ("h_{0} = 0,85h", "r_{0} = (1,1 − 0,002h)h", "r_{x} = (1,1 − 0,002h)(h − h_{x}/0,85)"),
    ("h_{0} = 0,92h", "r_{0} = 1,5h", "r_{x} = 1,5(h − h_{x}/0,92)"),
)
CATENARY_FORMULAS = (
    ("h_{0} = 0,85h", "r_{0} = (1,35 − 0,0025h)h",
     "r_{x} = (1,35 − 0,0025h)(h − h_{x}/0,85)"),
    ("h_{0} = 0,92h", "r_{0} = 1,7h", "r_{x} = 1,7(h − h_{x}/0,92)"),
)


def inner_region(slope_a, slope_b, single):
    """Every case of the inner region of two rods or cables of equal height.

    slope_a, slope_b: the factor of (L − h) in hc for zone A and zone B;
    single: what the rods become beyond 4h (zone A) or 6h (zone B).
    """
    hc_a = "h_{c} = h_{0} − (%s)(L − h);" % slope_a
    hc_b = "h_{c} = h_{0} − %s(L − h);" % slope_b
    near = "h_{c} = h_{0};   r_{c} = r_{0};   r_{cx} = r_{x}."
    full = "r_{c} = r_{0};   r_{cx} = r_{0}(h_{c} − h_{x})/h_{c}."
    return (par(bold("Зона А"), style=INTRO)
            + formulas("при L ≤ h:", near)
            + formulas("при h < L ≤ 2h:", hc_a, full)
            + formulas("при 2h < L ≤ 4h:", hc_a,
                       "r_{c} = r_{0}[1 − 0,2(L − 2h)/h];   "
                       "r_{cx} = r_{c}(h_{c} − h_{x})/h_{c}.")
            + par("при L > 4h %s." % single)
            + par(bold("Зона Б"), style=INTRO)
            + formulas("при L ≤ h:", near)
            + formulas("при h < L ≤ 6h:", hc_b, full)
            + par("при L > 6h %s." % single))


def applied_case(what):
    """The case of the inner region that applied, and its formulas with the
    design's numbers."""
    return (par("Для заданных %s применён случай — ##cs&." % what, style=INTRO)
            + par(run("##in&", "\\i"), style=FORMULA))


def results(n, rows, after=""):
    return (heading(n, "Результаты расчёта")
            + table([["Величина", "Значение, м"]] + rows, header=True)
            + after)


def not_determined(rods):
    return par("Если %s рассматриваются как одиночные, величины h_{c}, r_{c}, "
               "r_{cx} не определяются и в таблице не приводятся." % rods)


def drawing(n, rod):
    return (heading(n, "Чертёж зоны защиты")
            + par("##pc&", style="\\s0\\qc\\keepn\\sb120\\sa120")
            + par(run("Рисунок 1 — Зона защиты %s" % rod.of, "\\i"),
                  style="\\s0\\qc\\sa120", size=22))


def conclusion(n):
    return (heading(n, "Заключение")
            + par("##cn&", style=BODY + "\\keepn")
            + par("##vd&", style=BODY + "\\keepn"))


# A caption, then after a tab with a dotted leader the value, right-aligned
# at the text's right edge (blanks before it vanish on the left).
LEADER = "\\s0\\ql\\keepn\\tqr\\tldot\\tx%d\\sa60" % TEXT_WIDTH


def summary(rows):
    """The main results, a line each, kept with the signatures under them so
    that they share a page with the conclusion (paragraphs, not a table: a
    word processor keeps paragraphs with the next, not always a table)."""
    return (par(bold("Итог:"), style="\\s0\\ql\\keepn\\sb120\\sa120")
            + "".join(par(caption, Rtf("\\tab "), value, style=LEADER)
                      for caption, value in rows))


def signatures():
    return (par("Расчёт выполнил: ______________________  /______________________/",
                style="\\s0\\ql\\keepn\\sb480\\sa240")
            + par("Проверил: ______________________  /______________________/",
                  style="\\s0\\ql\\keepn\\sa240")
            + par("Дата: ", field('DATE \\\\@ "dd.MM.yyyy"', "__.__.____"),
                  style="\\s0\\ql"))


def document(rod, sections):
    """The document head with fonts, styles and the page footer, then the body."""
    head = ("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049\\deflangfe1049\n"
            "{\\fonttbl{\\f0\\froman\\fcharset204\\fprq2 Liberation Serif"
            "{\\*\\falt Times New Roman};}"
            "{\\f1\\fswiss\\fcharset204\\fprq2 Liberation Sans{\\*\\falt Arial};}}\n"
            "{\\colortbl;\\red0\\green0\\blue0;}\n"
            "{\\stylesheet{\\s0\\ql\\f0\\fs24 " + text("Обычный") + ";}"
            "{\\s1\\ql\\keepn\\b\\f0\\fs26 " + text("Заголовок 1") + ";}}\n"
            "{\\info{\\title " + text("Расчёт молниезащиты здания: " + rod.kind) + "}"
            "{\\author Vostrel}}\n"
            "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134"
            "\\viewkind4\\uc1\\widowctrl\n"
            "\\sectd\\footery567\n"
            "{\\footer\\pard\\plain\\qc\\f1\\fs18 "
            + text("Расчёт молниезащиты по РД 34.21.122-87. Страница ")
            + field("PAGE", "1") + "\\par}\n")
    return head + "".join(sections) + "}\n"


def numbered(*makers):
    """Calls each section maker with its section number, from 1."""
    return [make(i + 1) for i, make in enumerate(makers)]


def report(rod, input_rows, zone, result_rows, after, summary_text, layout=None):
    """The sections every report has, in order, around the rod type's own
    inputs, zone description and results; a catenary's `layout` adds the
    section on its cable height."""
    sections = [lambda n: inputs(n, rod, input_rows), strike_count, category]
    if layout:
        sections.append(lambda n: cable_height(n, rod, layout))
    sections += [lambda n: heading(n, "Зона защиты") + zone,
                 lambda n: results(n, result_rows, after),
                 lambda n: drawing(n, rod),
                 conclusion]
    return rod, document(rod, [title(rod)] + numbered(*sections)
                         + [summary(summary_text), signatures()])


# --- The templates ---------------------------------------------------------

def otchet1():
    rod = Rod(1, "одиночный стержневой молниеотвод", "одиночным стержневым молниеотводом",
              "одиночного стержневого молниеотвода", catenary=False,
              centre="молниеотвода", axis="поворота молниеотвода")
    zone = (par("Зона защиты одиночного стержневого молниеотвода высотой h ≤ 150 м "
                "представляет собой круговой конус с вершиной на высоте h_{0} < h. На "
                "уровне земли зона образует круг радиусом r_{0}, на высоте защищаемого "
                "уровня h_{x} — круг радиусом r_{x}. Габариты зоны определяются по "
                "формулам:")
            + single_zone(ROD_FORMULAS))
    return report(
        rod,
        [["Высота молниеотвода h, м", "##hr&"],
         ["Высота защищаемого уровня h_{x}, м", "##hx&"]],
        zone,
        [["Вершина зоны защиты h_{0}", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x}, r_{x}", "##rx&"]],
        "",
        [["Вершина зоны защиты h_{0}, м", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}, м", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x} = ##hx& м, r_{x}, м", "##rx&"]])


def otchet2():
    rod = Rod(2, "двойной стержневой молниеотвод",
              "двойным стержневым молниеотводом (два молниеотвода одинаковой высоты)",
              "двойного стержневого молниеотвода", catenary=False,
              centre="середины между молниеотводами", axis="линии молниеотводов")
    zone = (par("Зона защиты двойного стержневого молниеотвода — двух молниеотводов "
                "одинаковой высоты h ≤ 150 м на расстоянии L друг от друга — состоит "
                "из торцевых областей и внутренней области между молниеотводами. "
                "Торцевые области определяются как зоны одиночных стержневых "
                "молниеотводов (h_{0}, r_{0}, r_{x}):")
            + single_zone(ROD_FORMULAS)
            + par("Внутренняя область зоны ограничена сверху наименьшей высотой "
                  "зоны h_{c} посередине между молниеотводами; полуширина зоны "
                  "посередине между молниеотводами на уровне земли — r_{c}, на "
                  "высоте h_{x} — r_{cx}. Габариты внутренней области зависят от "
                  "расстояния L:")
            + inner_region("0,17 + 3·10^{−4}h", "0,14",
                           "молниеотводы рассматриваются как одиночные")
            + applied_case("высоты h и расстояния L"))
    return report(
        rod,
        [["Высота молниеотводов h, м", "##hr&"],
         ["Расстояние между молниеотводами L, м", "##ld&"],
         ["Высота защищаемого уровня h_{x}, м", "##hx&"]],
        zone,
        ["Торцевые области",
         ["Вершина зоны защиты h_{0}", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x}, r_{x}", "##rx&"],
         "Внутренняя область",
         ["Наименьшая высота зоны посередине между молниеотводами h_{c}", "##hc&"],
         ["Полуширина зоны посередине на уровне земли r_{c}", "##rc&"],
         ["Полуширина зоны посередине на высоте h_{x}, r_{cx}", "##cx&"]],
        not_determined("молниеотводы"),
        [["Вершина зоны защиты h_{0}, м", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}, м", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x} = ##hx& м, r_{x}, м", "##rx&"]])


def otchet3():
    rod = Rod(3, "два стержневых молниеотвода разной высоты",
              "двумя стержневыми молниеотводами разной высоты",
              "двух стержневых молниеотводов разной высоты", catenary=False,
              centre="середины между молниеотводами", axis="линии молниеотводов")
    ends = ("h_{c} = (h_{c1} + h_{c2})/2;", "r_{c} = (r_{01} + r_{02})/2;",
            "r_{cx} = r_{c}(h_{c} − h_{x})/h_{c}.")
    zone = (par("Зона защиты двух стержневых молниеотводов разной высоты h_{1} и "
                "h_{2} (не более 150 м) на расстоянии L друг от друга состоит из "
                "торцевых областей и внутренней области между молниеотводами. "
                "Торцевые области определяются как зоны одиночных стержневых "
                "молниеотводов высотой h_{1} (h_{01}, r_{01}, r_{x1}) и h_{2} "
                "(h_{02}, r_{02}, r_{x2}) по формулам, в которых h = h_{1} или "
                "h = h_{2}:")
            + single_zone(ROD_FORMULAS)
            + par("Высоты h_{c1} и h_{c2} определяются по формулам для двух "
                  "молниеотводов одинаковой высоты при h = h_{1} и при h = h_{2} "
                  "(i = 1, 2):")
            + par(bold("Зона А"), style=INTRO)
            + formulas("при L ≤ h_{i}:", "h_{ci} = h_{0i};")
            + formulas("при h_{i} < L ≤ 4h_{i}:",
                       "h_{ci} = h_{0i} − (0,17 + 3·10^{−4}h_{i})(L − h_{i});")
            + par(bold("Зона Б"), style=INTRO)
            + formulas("при L ≤ h_{i}:", "h_{ci} = h_{0i};")
            + formulas("при h_{i} < L ≤ 6h_{i}:",
                       "h_{ci} = h_{0i} − 0,14(L − h_{i}).")
            + formulas("Габариты внутренней области в обеих зонах:", *ends)
            + par("Эти формулы применимы для зоны А при L ≤ 4h_{min}, для зоны Б — "
                  "при L ≤ 6h_{min}, где h_{min} — меньшая из высот h_{1} и h_{2}; "
                  "при большем расстоянии молниеотводы рассматриваются как "
                  "одиночные.")
            + applied_case("высот h_{1}, h_{2} и расстояния L"))
    return report(
        rod,
        [["Высота первого молниеотвода h_{1}, м", "##h1&"],
         ["Высота второго молниеотвода h_{2}, м", "##h2&"],
         ["Расстояние между молниеотводами L, м", "##ld&"],
         ["Высота защищаемого уровня h_{x}, м", "##hx&"]],
        zone,
        ["Торцевая область первого молниеотвода",
         ["Вершина зоны защиты h_{01}", "##01&"],
         ["Радиус зоны защиты на уровне земли r_{01}", "##r1&"],
         ["Радиус зоны защиты на высоте h_{x}, r_{x1}", "##x1&"],
         "Торцевая область второго молниеотвода",
         ["Вершина зоны защиты h_{02}", "##02&"],
         ["Радиус зоны защиты на уровне земли r_{02}", "##r2&"],
         ["Радиус зоны защиты на высоте h_{x}, r_{x2}", "##x2&"],
         "Внутренняя область",
         ["Высота h_{c1} (по первому молниеотводу)", "##c1&"],
         ["Высота h_{c2} (по второму молниеотводу)", "##c2&"],
         ["Наименьшая высота зоны посередине между молниеотводами h_{c}", "##hc&"],
         ["Полуширина зоны посередине на уровне земли r_{c}", "##rc&"],
         ["Полуширина зоны посередине на высоте h_{x}, r_{cx}", "##cx&"]],
        not_determined("молниеотводы"),
        [["Радиус зоны защиты у первого молниеотвода на высоте h_{x} = ##hx& м, "
          "r_{x1}, м", "##x1&"],
         ["Радиус зоны защиты у второго молниеотвода на высоте h_{x}, r_{x2}, м", "##x2&"]])


def otchet4():
    rod = Rod(4, "одиночный тросовый молниеотвод", "одиночным тросовым молниеотводом",
              "одиночного тросового молниеотвода", catenary=True,
              centre="середины троса", axis="оси троса")
    layout = ("Принят одиночный тросовый молниеотвод: стальной трос сечением "
              "35–50 мм^{2}, натянутый между двумя опорами высотой h_{оп} = ##vi& м.")
    zone = (par("Зона защиты одиночного тросового молниеотвода высотой h ≤ 150 м "
                "ограничена симметричными двускатными поверхностями, образующими в "
                "вертикальном сечении равнобедренный треугольник с вершиной на "
                "высоте h_{0} < h и основанием на уровне земли 2r_{0}. Габариты "
                "зоны определяются по формулам:")
            + single_zone(CATENARY_FORMULAS))
    # The field values of this report begin with blanks: each stands alone in
    # a right-aligned cell, where they vanish.
    plan = (par("На уровне земли зона защиты представляет собой полосу шириной "
                "2r_{0}, ограниченную линиями, отстоящими от проекции троса на "
                "r_{0} в каждую сторону; на высоте h_{x} — полосу шириной 2r_{x}. "
                "У опор зона ограничена полуокружностями радиусами r_{0} и r_{x} "
                "соответственно:", style=INTRO)
            + table([["Величина", "Значение, м"],
                     "На уровне земли",
                     ["Расстояние от проекции троса до границы зоны r_{0}", "##r0&"],
                     ["Радиус полуокружностей у опор r_{0}", "##r0&"],
                     ["Вынос зоны за опору вдоль оси троса r_{0}", "##r0&"],
                     "На высоте h_{x}",
                     ["Расстояние от проекции троса до границы зоны r_{x}", "##rx&"],
                     ["Радиус полуокружностей у опор r_{x}", "##rx&"]], header=True))
    return report(
        rod,
        [["Высота опор троса h_{оп}, м", "##vi&"],
         ["Длина пролёта троса a, м", "##aa&"],
         ["Высота защищаемого уровня h_{x}, м", "##hx&"]],
        zone,
        [["Вершина защищаемой зоны h_{0}", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x}, r_{x}", "##rx&"],
         ["Ширина зоны защиты на уровне земли 2r_{0}", "#2r0&"],
         ["Ширина зоны защиты на высоте h_{x}, 2r_{x}", "#2rx&"]],
        plan,
        [["Вершина защищаемой зоны h_{0}, м", "##h0&"],
         ["Радиус зоны защиты на уровне земли r_{0}, м", "##r0&"],
         ["Радиус зоны защиты на высоте h_{x} = ##hx& м, r_{x}, м", "##rx&"]],
        layout=layout)


def otchet5():
    rod = Rod(5, "двойной тросовый молниеотвод",
              "двойным тросовым молниеотводом (два троса одинаковой высоты)",
              "двойного тросового молниеотвода", catenary=True,
              centre="середины между тросами", axis="тросов")
    layout = ("Принят двойной тросовый молниеотвод: два стальных троса сечением "
              "35–50 мм^{2}, натянутых параллельно на расстоянии L друг от друга "
              "между опорами высотой h_{оп} = ##vi& м.")
    zone = (par("Зона защиты двойного тросового молниеотвода — двух тросов "
                "одинаковой высоты h ≤ 150 м на расстоянии L друг от друга — "
                "состоит из торцевых областей и внутренней области между тросами. "
                "Торцевые области определяются как зоны одиночных тросовых "
                "молниеотводов (h_{0}, r_{0}, r_{x}):")
            + single_zone(CATENARY_FORMULAS)
            + par("Внутренняя область зоны ограничена сверху наименьшей высотой "
                  "зоны h_{c} посередине между тросами; полуширина зоны посередине "
                  "между тросами на уровне земли — r_{c}, на высоте h_{x} — "
                  "r_{cx}. Габариты внутренней области зависят от расстояния L:")
            + inner_region("0,14 + 5·10^{−4}h", "0,12",
                           "тросы рассматриваются как одиночные")
            + formulas("В обеих зонах при h_{c} < h_{0} внутренняя граница зоны на "
                       "высоте h_{c} < h_{x} < h_{0} отстоит от каждого троса на "
                       "расстояние",
                       "r′_{x} = (L/2)(h_{0} − h_{x})/(h_{0} − h_{c}).")
            + par("При h_{x} ≤ h_{c} полоса между тросами защищена на высоте h_{x} "
                  "целиком и принимается r′_{x} = L/2; при h_{c} = h_{0} также "
                  "r′_{x} = L/2.")
            + applied_case("высоты троса h и расстояния L"))
    return report(
        rod,
        [["Высота опор тросов h_{оп}, м", "##vi&"],
         ["Длина пролёта тросов a, м", "##aa&"],
         ["Расстояние между тросами L, м", "##ld&"],
         ["Высота защищаемого уровня h_{x}, м", "##hx&"]],
        zone,
        ["Торцевые области",
         ["Вершина зоны защиты h_{0}", "##h0&"],
         ["Полуширина зоны защиты на уровне земли r_{0}", "##r0&"],
         ["Полуширина зоны защиты на высоте h_{x}, r_{x}", "##rx&"],
         "Внутренняя область",
         ["Наименьшая высота зоны посередине между тросами h_{c}", "##hc&"],
         ["Полуширина зоны посередине на уровне земли r_{c}", "##rc&"],
         ["Полуширина зоны посередине на высоте h_{x}, r_{cx}", "##cx&"],
         ["Расстояние от троса до внутренней границы зоны на высоте h_{x}, r′_{x}", "##rp&"]],
        not_determined("тросы"),
        [["Вершина зоны защиты h_{0}, м", "##h0&"],
         ["Полуширина зоны защиты на уровне земли r_{0}, м", "##r0&"],
         ["Полуширина зоны защиты на высоте h_{x} = ##hx& м, r_{x}, м", "##rx&"]],
        layout=layout)


def otchet6():
    rod = Rod(6, "многократный стержневой молниеотвод",
              "многократным стержневым молниеотводом (несколько молниеотводов)",
              "многократного стержневого молниеотвода", catenary=False)
    rods = (par("Молниеотводы (##nr& шт.) на плане:", style=INTRO)
            + table([["№", "x, м", "y, м", "h, м"], ["##sn&", "##sx&", "##sy&", "##sh&"]],
                    widths=(1355, 2666, 2667, 2667), header=True, split=True)
            + par(PLAN_AXES))
    zone = (par("Зона защиты многократного стержневого молниеотвода определяется как "
                "зона защиты попарно взятых соседних стержневых молниеотводов. "
                "Соседними считаются молниеотводы, соединённые ребром триангуляции "
                "Делоне их положений на плане (для молниеотводов на одной прямой — "
                "соседние вдоль неё). Пара молниеотводов одинаковой высоты "
                "рассчитывается как двойной стержневой молниеотвод, пара разной "
                "высоты — как два молниеотвода разной высоты; торцевые области — "
                "как зоны одиночных молниеотводов:")
            + single_zone(ROD_FORMULAS)
            + par("Внутренняя область пары одинаковой высоты h на расстоянии L:")
            + inner_region("0,17 + 3·10^{−4}h", "0,14",
                           "молниеотводы пары рассматриваются как одиночные")
            + par("Для пары разной высоты h_{c} = (h_{c1} + h_{c2})/2, r_{c} = "
                  "(r_{01} + r_{02})/2, r_{cx} = r_{c}(h_{c} − h_{x})/h_{c}, а пределы "
                  "4h и 6h берутся по меньшей высоте h_{min}.")
            + par("Объекты высотой h_{x} защищены с надёжностью, соответствующей типу "
                  "зоны, если для каждой пары соседних молниеотводов r_{cx} > 0. Выше "
                  "приведены числа для пары с наименьшим r_{cx} — пары ##kp&.")
            + applied_case("высот и расстояния L этой пары"))
    results_part = (par("Зоны одиночных молниеотводов:", style=INTRO)
                    + table([["№", "h_{0}, м", "r_{0}, м", "r_{x}, м"],
                             ["##sn&", "##s0&", "##sr&", "##sq&"]],
                            widths=(1355, 2666, 2667, 2667), header=True, split=True)
                    + par("Пары соседних молниеотводов (##np& шт.):", style=INTRO)
                    + table([["Пара", "L, м", "Случай", "h_{c}, м", "r_{c}, м", "r_{cx}, м"],
                             ["##qn&", "##ql&", "##qk&", "##qh&", "##qr&", "##qx&"]],
                            widths=(1000, 1300, 2255, 1600, 1600, 1600), header=True,
                            split=True)
                    + not_determined("молниеотводы пары"))
    sections = [lambda n: inputs(n, rod, [["Высота защищаемого уровня h_{x}, м", "##hx&"],
                                          ["Число молниеотводов", "##nr&"]]) + rods,
                strike_count, category,
                lambda n: heading(n, "Зона защиты") + zone,
                lambda n: heading(n, "Результаты расчёта") + results_part,
                lambda n: drawing(n, rod),
                conclusion]
    summary_rows = [["Число пар соседних молниеотводов", "##np&"],
                    ["Наименьшая полуширина зоны r_{cx} на высоте h_{x} = ##hx& м "
                     "(пара ##kp&), м", "##mr&"]]
    return rod, document(rod, [title(rod)] + numbered(*sections)
                         + [summary(summary_rows), signatures()])


TEMPLATES = (otchet1, otchet2, otchet3, otchet4, otchet5, otchet6)


# --- Reading the output back -----------------------------------------------

# Destinations whose text a word processor does not show in the body.
HIDDEN = {"fonttbl", "colortbl", "stylesheet", "info", "fldinst", "pict",
          "header", "footer", "headerl", "headerr", "footerl", "footerr"}
CONTROL_WORD = re.compile(rb"\\([a-z]{1,32})(-?\d{1,10})? ?")


def read_rtf(data):
    """Reads RTF as a word processor would, far enough to check the output.

    Checks that the document is one balanced group opened by \\rtf1 with
    nothing after it, that \\'hh escapes are complete and that \\uN fallbacks
    follow \\ucN. Returns the body's paragraphs as (alignment, text) pairs;
    table cells end paragraphs as \\par does. Raises ValueError on a fault.
    """
    if not data.startswith(b"{\\rtf1"):
        raise ValueError("does not open with {\\rtf1")
    paragraphs, current = [], []
    # Per group: hidden, alignment, \\uc skip count.
    stack, state = [], None
    skip = 0                     # fallback characters still to drop after \\uN
    i, closed_at = 0, None
    while i < len(data):
        c = data[i:i + 1]
        if closed_at is not None:
            if c not in b"\r\n":
                raise ValueError("text after the document's closing brace at %d" % i)
            i += 1
            continue
        if c == b"{":
            stack.append(state)
            state = dict(state) if state else {"hidden": False, "align": "ql", "uc": 1}
            skip = 0
            i += 1
            if data[i:i + 3] == b"\\*\\":
                state["hidden"] = True
            continue
        if c == b"}":
            if not stack:
                raise ValueError("unbalanced closing brace at %d" % i)
            state = stack.pop()
            skip = 0
            if not stack:
                closed_at = i
            i += 1
            continue
        if c in b"\r\n":
            i += 1
            continue
        if state is None:
            raise ValueError("text outside the document group at %d" % i)
        if c == b"\\":
            m = CONTROL_WORD.match(data, i)
            if m:
                word, arg = m.group(1).decode(), m.group(2)
                i = m.end()
                if word in HIDDEN:
                    state["hidden"] = True
                elif word == "bin":
                    i += int(arg or 0)
                elif word == "pard":
                    state["align"] = "ql"
                elif word in ("ql", "qc", "qr", "qj"):
                    state["align"] = word
                elif word == "uc":
                    state["uc"] = int(arg or 1)
                elif word == "u":
                    if arg is None:
                        raise ValueError("\\u without a number at %d" % i)
                    code = int(arg)
                    current.append(chr(code + 65536 if code < 0 else code)
                                   if not state["hidden"] else "")
                    skip = state["uc"]
                elif word in ("par", "cell") and not state["hidden"]:
                    paragraphs.append((state["align"], "".join(current)))
                    current = []
                elif word == "tab" and not state["hidden"]:
                    current.append("\t")
                continue
            sym = data[i + 1:i + 2]
            if sym == b"'":
                hexa = data[i + 2:i + 4]
                if not re.fullmatch(rb"[0-9a-fA-F]{2}", hexa):
                    raise ValueError("incomplete \\'hh at %d" % i)
                i += 4
                if skip:
                    skip -= 1
                elif not state["hidden"]:
                    current.append(bytes([int(hexa, 16)]).decode("cp1251"))
                continue
            if sym in (b"\\", b"{", b"}", b"~", b"-", b"_", b"*", b"\r", b"\n"):
                i += 2
                if sym in b"\\{}" and not state["hidden"]:
                    if skip:
                        skip -= 1
                    else:
                        current.append(sym.decode())
                continue
            raise ValueError("unknown control symbol %r at %d" % (sym, i))
        if skip:
            skip -= 1
        elif not state["hidden"]:
            current.append(c.decode("ascii"))
        i += 1
    if closed_at is None:
        raise ValueError("the document group is not closed")
    if current:
        paragraphs.append((state["align"] if state else "ql", "".join(current)))
    return paragraphs


def check(name, data):
    """Checks one written template; raises SystemExit naming the fault."""
    def fail(why):
        raise SystemExit("%s: %s" % (name, why))

    try:
        data.decode("ascii")
        paragraphs = read_rtf(data)
    except (ValueError, UnicodeError) as e:
        fail(e)
    visible = "\n".join(t for _, t in paragraphs)
    raw_tags = TAG.findall(data.decode("ascii"))
    shown_tags = TAG.findall(visible)
    if raw_tags != shown_tags:
        fail("tags outside the visible text or split by RTF code: %s"
             % sorted(set(raw_tags) ^ set(shown_tags)))
    counts = dict(collections.Counter(shown_tags))     # in order of first occurrence
    expected = TAG_COUNTS[name]
    if counts != expected:
        fail("tag counts differ: %s" % counts)
    if list(counts) != list(expected):
        fail("TAG_COUNTS is not in the order the tags first occur: %s" % list(counts))
    if name == AS_IS_TEMPLATE:
        for align, para in paragraphs:
            for tag in BLANK_LED & set(TAG.findall(para)):
                if (align, para) != ("qr", tag) and not (
                        para.endswith("\t" + tag) and para.count(tag) == 1):
                    fail("%s, whose value begins with blanks, is neither alone in a "
                         "right-aligned cell nor right-aligned after a tab: %r"
                         % (tag, para))
    picture = [p for p in paragraphs if "##pc&" in p[1]]
    if picture != [("qc", "##pc&")]:
        fail("##pc& is not alone in a centred paragraph: %s" % picture)
    justified = [t for a, t in paragraphs if a == "qj"]
    if justified:
        fail("justified paragraphs: %s" % justified[:3])


def main():
    """Writes the templates; with --check, only checks them and that the
    files in OUT_DIR are what this script writes."""
    only_check = sys.argv[1:] == ["--check"]
    OUT_DIR.mkdir(parents=True, exist_ok=True)
    for make in TEMPLATES:
        rod, rtf_text = make()
        data = rtf_text.encode("ascii")
        check(rod.file, data)
        path = OUT_DIR / rod.file
        if not only_check:
            path.write_bytes(data)
        elif not path.is_file() or path.read_bytes() != data:
            raise SystemExit("%s differs from what %s writes" % (path, sys.argv[0]))


if __name__ == "__main__":
    main()
