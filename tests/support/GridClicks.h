#pragma once
// Real mouse double clicks on the main window's grid and library list, as a user makes them.

#include <QListWidget>
#include <QTableView>
#include <QtTest>

namespace zanq::test {

inline void DoubleClickCell(QTableView* grid, int bankNumber, int slot) {
    const QModelIndex cell = grid->model()->index(slot - 1, bankNumber - 1);
    grid->scrollTo(cell);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

inline void DoubleClickLine(QListWidget* list, QListWidgetItem* line) {
    list->scrollToItem(line);
    const QPoint at = list->visualItemRect(line).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace zanq::test
