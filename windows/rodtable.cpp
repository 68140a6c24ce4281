#include "rodtable.h"

#include "ui/controls.h"
#include "ui/conversions.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vostrel {

namespace {
QTableWidget* MakeTable(QWidget* parent, const char* name, const QString& caption,
                        const QStringList& columns) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setAccessibleName(caption);
    table->setHorizontalHeaderLabels(columns);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

QTableWidgetItem* ReadOnly(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

void SetRow(QTableWidget* table, int row, const QStringList& texts) {
    for (int column = 0; column < texts.size(); ++column)
        table->setItem(row, column, ReadOnly(texts[column]));
}
} // namespace

RodTable::RodTable(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RodTable"));
    Table1 = MakeTable(
        this, "Table1", QStringLiteral("Молниеотводы"),
        {QStringLiteral("№"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("h")});
    Button1 = MakeButton(this, "Button1", {0, 0, 90, 25}, QStringLiteral("Добавить"), 10);
    Button2 = MakeButton(this, "Button2", {0, 0, 90, 25}, QStringLiteral("Удалить"), 10);
    Table2 = MakeTable(
        this, "Table2", QStringLiteral("Зоны молниеотводов"),
        {QStringLiteral("№"), QStringLiteral("h0"), QStringLiteral("r0"), QStringLiteral("rx")});
    Table3 = MakeTable(this, "Table3", QStringLiteral("Пары молниеотводов"),
                       {QStringLiteral("Пара"), QStringLiteral("L"), QStringLiteral("Случай"),
                        QStringLiteral("hc"), QStringLiteral("rc"), QStringLiteral("rcx")});
    for (QTableWidget* results : {Table2, Table3})
        results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Each table under its caption, which is also its accessible name.
    for (QTableWidget* table : {Table1, Table2, Table3}) {
        layout->addWidget(new QLabel(table->accessibleName(), this));
        layout->addWidget(table, table == Table1 ? 2 : 1);
        if (table == Table1)
            layout->addLayout(buttons);
    }
    connect(Table1, &QTableWidget::itemChanged, this, [this] {
        if (!filling_)
            emit rodsEdited();
    });
    connect(Button1, &QPushButton::clicked, this, &RodTable::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &RodTable::Button2Click);
}

std::vector<RodRow> RodTable::rods() const {
    std::vector<RodRow> rods;
    const auto text = [this](int row, int column) {
        const QTableWidgetItem* item = Table1->item(row, column);
        return item ? item->text().trimmed() : QString();
    };
    for (int row = 0; row < Table1->rowCount(); ++row)
        rods.push_back({text(row, 1), text(row, 2), text(row, 3)});
    return rods;
}

void RodTable::setRods(const std::vector<RodRow>& rods) {
    filling_ = true;
    Table1->setRowCount(0);
    for (const RodRow& rod : rods)
        addRow(rod);
    filling_ = false;
    clearResults();
}

void RodTable::setHeights(const QString& h) {
    for (int row = 0; row < Table1->rowCount(); ++row)
        Table1->setItem(row, 3, new QTableWidgetItem(h));
}

void RodTable::moveRod(int row, const QString& x, const QString& y) {
    if (row < 0 || row >= Table1->rowCount())
        return;
    filling_ = true;
    Table1->item(row, 1)->setText(x);
    Table1->item(row, 2)->setText(y);
    filling_ = false;
    emit rodsEdited();
}

void RodTable::addRow(const RodRow& rod) {
    const int row = Table1->rowCount();
    Table1->insertRow(row);
    Table1->setItem(row, 0, ReadOnly(QString::number(row + 1)));
    Table1->setItem(row, 1, new QTableWidgetItem(rod.x));
    Table1->setItem(row, 2, new QTableWidgetItem(rod.y));
    Table1->setItem(row, 3, new QTableWidgetItem(rod.h));
}

void RodTable::renumber() {
    for (int row = 0; row < Table1->rowCount(); ++row)
        Table1->setItem(row, 0, ReadOnly(QString::number(row + 1)));
}

// The new rod copies the last one's texts, to be typed over; the first
// stands at the origin, 20 m high.
void RodTable::Button1Click() {
    const std::vector<RodRow> now = rods();
    filling_ = true;
    addRow(now.empty() ? RodRow{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("20")}
                       : now.back());
    filling_ = false;
    Table1->setCurrentCell(Table1->rowCount() - 1, 1);
    Table1->editItem(Table1->item(Table1->rowCount() - 1, 1));
    emit rodsEdited();
}

void RodTable::Button2Click() {
    const int row = Table1->currentRow();
    if (row < 0)
        return;
    filling_ = true;
    Table1->removeRow(row);
    renumber();
    filling_ = false;
    emit rodsEdited();
}

// The case of the instruction that gave a pair's inner region; its limit
// uses hmin for rods of different heights.
QString PairCaseText(const RodPair& pair, ZoneKind zone) {
    const QString h = std::holds_alternative<UnequalRodResult>(pair.zone) ? QStringLiteral("hmin")
                                                                          : QStringLiteral("h");
    switch (pair.pairCase()) {
    case PairCase::Close:
        return QStringLiteral("L ≤ %1").arg(h);
    case PairCase::Medium:
        return QStringLiteral("%1 < L ≤ %2%1").arg(h).arg(zone == ZoneKind::A ? 2 : 6);
    case PairCase::Wide:
        return QStringLiteral("2%1 < L ≤ 4%1").arg(h);
    case PairCase::Single:
        break;
    }
    return QStringLiteral("одиночные");
}

QStringList PairCells(const RodPair& p, ZoneKind zone, const NumberText& numbers) {
    const auto num = [&](double v) { return numbers.fixed(v, 1); };
    const bool single = p.pairCase() == PairCase::Single;
    const QString none = single ? QStringLiteral("—") : QString();
    return {QStringLiteral("%1–%2").arg(p.first + 1).arg(p.second + 1),
            num(p.L),
            PairCaseText(p, zone),
            single ? none : num(p.hc()),
            single ? none : num(p.rc()),
            single ? QStringLiteral("одиночные") : num(p.rcx())};
}

void RodTable::showResults(const RodSystemZone& zone, const NumberText& numbers) {
    const auto num = [&](double v) { return numbers.fixed(v, 1); };
    Table2->setRowCount(static_cast<int>(zone.rods.size()));
    for (size_t i = 0; i < zone.rods.size(); ++i) {
        const SingleRodResult& r = zone.rods[i];
        SetRow(Table2, static_cast<int>(i),
               {QString::number(i + 1), num(r.h0), num(r.r0), num(r.rx)});
    }
    Table3->setRowCount(static_cast<int>(zone.pairs.size()));
    for (size_t i = 0; i < zone.pairs.size(); ++i)
        SetRow(Table3, static_cast<int>(i), PairCells(zone.pairs[i], zone.zone, numbers));
}

void RodTable::clearResults() {
    Table2->setRowCount(0);
    Table3->setRowCount(0);
}

} // namespace vostrel
