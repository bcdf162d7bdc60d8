#include "support/SammlungGrid.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

// A grid shaped like the weekly-program grid: caption row 0 and caption column 0, 7 x 4 cells.
class TestSammlungGrid : public QObject
{
    Q_OBJECT
private slots:
    void enterWandert_data();
    void enterWandert();
    void andereTasteBleibt_data();
    void andereTasteBleibt();
    void keinGrid();
    void ohneAktuelleZelle();
};

void TestSammlungGrid::enterWandert_data()
{
    QTest::addColumn<int>("zeile");
    QTest::addColumn<int>("spalte");
    QTest::addColumn<int>("neueZeile");
    QTest::addColumn<int>("neueSpalte");
    QTest::newRow("first cell") << 1 << 1 << 1 << 2;
    QTest::newRow("middle") << 3 << 2 << 3 << 3;
    QTest::newRow("last column to next row") << 3 << 4 << 4 << 1;
    QTest::newRow("last cell back to first") << 7 << 4 << 1 << 1;
    QTest::newRow("last row, not last column") << 7 << 3 << 7 << 4;
}

void TestSammlungGrid::enterWandert()
{
    QFETCH(int, zeile);
    QFETCH(int, spalte);
    QFETCH(int, neueZeile);
    QFETCH(int, neueSpalte);
    QTableWidget grid(8, 5);
    grid.setCurrentCell(zeile, spalte);
    QChar key(13);
    GridEnterWeiter(&grid, key);
    QCOMPARE(key, QChar(0));
    QCOMPARE(grid.currentRow(), neueZeile);
    QCOMPARE(grid.currentColumn(), neueSpalte);
}

void TestSammlungGrid::andereTasteBleibt_data()
{
    QTest::addColumn<QChar>("key");
    QTest::newRow("digit") << QChar(u'5');
    QTest::newRow("tab") << QChar(9);
    QTest::newRow("line feed") << QChar(10);
    QTest::newRow("zero") << QChar(0);
}

void TestSammlungGrid::andereTasteBleibt()
{
    QFETCH(QChar, key);
    QTableWidget grid(8, 5);
    grid.setCurrentCell(7, 4);
    QChar k = key;
    GridEnterWeiter(&grid, k);
    QCOMPARE(k, key);
    QCOMPARE(grid.currentRow(), 7);
    QCOMPARE(grid.currentColumn(), 4);
}

void TestSammlungGrid::keinGrid()
{
    QLineEdit edit;
    QChar key(13);
    GridEnterWeiter(&edit, key);
    QCOMPARE(key, QChar(13));
    GridEnterWeiter(nullptr, key);
    QCOMPARE(key, QChar(13));
}

// Without a cell cursor there is nothing to move on from; Enter is still kept from the grid.
void TestSammlungGrid::ohneAktuelleZelle()
{
    QTableWidget grid(8, 5);
    grid.setCurrentCell(-1, -1);
    QChar key(13);
    GridEnterWeiter(&grid, key);
    QCOMPARE(key, QChar(0));
    QCOMPARE(grid.currentRow(), -1);
}

QTEST_MAIN(TestSammlungGrid)
#include "tst_sammlung_grid.moc"
