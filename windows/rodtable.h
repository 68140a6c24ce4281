// The rods of a system (rod type 6) in the plan window: a table of the rods
// to type (№, x, y, h) with "Добавить" and "Удалить", and the tables of the
// last calculation's results, per rod and per neighbouring pair.
#pragma once

#include "calc/rodsystem.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

class QPushButton;
class QTableWidget;

namespace vostrel {

class NumberText;

// A rod's texts as typed.
struct RodRow {
    QString x, y, h;

    bool operator==(const RodRow&) const = default;
};

// The case of the instruction that gave a pair's inner region ("h < L ≤ 6h",
// "одиночные"); its limit uses hmin for rods of different heights.
QString PairCaseText(const RodPair& pair, ZoneKind zone);
// A pair's row of the pairs' table: the pair, L, the case, hc, rc, rcx.
QStringList PairCells(const RodPair& pair, ZoneKind zone, const NumberText& numbers);

class RodTable final : public QWidget {
    Q_OBJECT
public:
    explicit RodTable(QWidget* parent);

    std::vector<RodRow> rods() const;
    void setRods(const std::vector<RodRow>& rods);
    // Gives every rod the height `h`, as if typed.
    void setHeights(const QString& h);
    // Rod `row` (from 0) moved to the texts `x`, `y`: one edit of the rods.
    void moveRod(int row, const QString& x, const QString& y);

    // The results of `zone` computed for the rods shown; `numbers` writes them.
    void showResults(const RodSystemZone& zone, const NumberText& numbers);
    void clearResults();

    QTableWidget* Table1; // the rods: "№", "x", "y", "h"; x, y, h typed
    QPushButton* Button1; // "Добавить": a rod after the last, 5 m beyond it
    QPushButton* Button2; // "Удалить": the current rod
    QTableWidget* Table2; // per rod: "№", "h0", "r0", "rx"
    QTableWidget* Table3; // per pair: "Пара", "L", "Случай", "hc", "rc", "rcx"

signals:
    // A rod was typed, added or removed.
    void rodsEdited();

private:
    void Button1Click();
    void Button2Click();
    void addRow(const RodRow& rod);
    void renumber();

    bool filling_ = false; // rows set by the program, not typed
};

} // namespace vostrel
