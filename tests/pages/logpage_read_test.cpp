#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

#include "log/log_demo.h"
#include "log/log_record.h"
#include "pages/log_page.h"
#include "ui/page_model.h"

namespace korvex {
namespace {

class LogPageTest : public ::testing::Test {
protected:
    LogPageTest() {
        PutRing(DemoLogArea());
        page.resize(640, 420);
    }
    void PutRing(const LogBytes& ring) {
        std::copy(ring.begin(), ring.end(), sim.module.Memory().begin() + kLogAddress);
    }
    bool RingErased() const {
        const auto& mem = sim.module.Memory();
        return std::all_of(mem.begin() + kLogAddress, mem.begin() + kLogAddress + kLogSize,
                           [](std::uint8_t b) { return b == 0xFF; });
    }
    QString Cell(int row, int column) const {
        const QTableWidgetItem* item = page.List()->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    QStringList Row(int row) const {
        QStringList cells;
        for (int c = 0; c < page.List()->columnCount(); ++c) cells << Cell(row, c);
        return cells;
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& m : sim.dialogs->messages) texts << m.text;
        return texts;
    }

    test::PageModel sim;
    LogPage page{sim.model, nullptr};
};

TEST_F(LogPageTest, ListHasTheSevenColumns) {
    struct Column {
        const char* header;
        int width;
        Qt::Alignment alignment;
    };
    const Column columns[] = {
        {"№", 25, Qt::AlignLeft},           {"Время", 40, Qt::AlignHCenter},    {"Дата", 70, Qt::AlignHCenter},
        {"ID", 43, Qt::AlignHCenter},       {"Раздел", 50, Qt::AlignHCenter},  {"Событие", 270, Qt::AlignLeft},
        {"Зона/Пользователь", 80, Qt::AlignLeft},
    };
    QTableWidget* list = page.List();
    ASSERT_EQ(list->columnCount(), 7);
    for (int c = 0; c < 7; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(list->horizontalHeaderItem(c)->text(), QString::fromUtf8(columns[c].header));
        EXPECT_GE(list->columnWidth(c), columns[c].width);
        EXPECT_EQ(Qt::Alignment(list->horizontalHeaderItem(c)->textAlignment()) & Qt::AlignHorizontal_Mask,
                  columns[c].alignment);
    }
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_EQ(page.ReadButton()->text(), QStringLiteral("Вычитать журнал"));
    EXPECT_EQ(page.ClearButton()->text(), QStringLiteral("Очистить журнал"));
    EXPECT_EQ(page.SaveButton()->text(), QStringLiteral("Сохранить как csv..."));
    EXPECT_EQ(page.ShowCodeBox()->text(), QStringLiteral("Показывать код события"));
    EXPECT_FALSE(page.ShowCodeBox()->isChecked());
}

TEST_F(LogPageTest, ReadListsTheModulesLog) {
    ASSERT_TRUE(sim.OpenPort());
    sim.Press(page.ReadButton());

    EXPECT_TRUE(sim.dialogs->messages.empty()) << Messages().join('\n').toStdString();
    ASSERT_EQ(page.List()->rowCount(), 8);
    EXPECT_EQ(Row(0), QStringList({"1", "18:05", "04 декабрь", "1234", "01", "Постановка на охрану пользователем", "01"}));
    EXPECT_EQ(Row(1), QStringList({"2", "02:41", "05 декабрь", "1234", "01", "Тревога в зоне 'периметр'", "02"}));
    // No zone or user: a single space.
    EXPECT_EQ(Row(3), QStringList({"4", "09:23", "05 декабрь", "1234", "01", "Отсутствие сетевого питания", " "}));
    EXPECT_EQ(Row(7), QStringList({"8", "19:30", "06 декабрь", "1234", "01", "Снятие с охраны пользователем", "01"}));
    EXPECT_EQ(Qt::Alignment(page.List()->item(0, 2)->textAlignment()) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(Qt::Alignment(page.List()->item(0, 5)->textAlignment()) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    // The bar is back at rest.
    EXPECT_EQ(page.Bar()->value(), 0);
}

TEST_F(LogPageTest, ReadReplacesTheListAndNumbersFromOne) {
    ASSERT_TRUE(sim.OpenPort());
    sim.Press(page.ReadButton());
    ASSERT_EQ(page.List()->rowCount(), 8);

    LogRecord r;
    r.month = 0;  // no month name: the day and one space
    r.day = 7;
    r.hour = 23;
    r.minute = 59;
    r.objectId = 0xBEEF;
    r.eventCode = 602;
    r.partition = 0x0A;
    r.zoneOrUser = 0xAB;
    const LogRecord records[] = {r};
    PutRing(BuildLogArea(records));
    sim.Press(page.ReadButton());
    ASSERT_EQ(page.List()->rowCount(), 1);
    EXPECT_EQ(Row(0), QStringList({"1", "23:59", "07 ", "BEEF", "0A", "Периодический тестовый отчет", "AB"}));
}

TEST_F(LogPageTest, ShowCodeTakesEffectAtTheNextRead) {
    ASSERT_TRUE(sim.OpenPort());
    page.show();
    sim.Press(page.ReadButton());
    ASSERT_EQ(page.List()->rowCount(), 8);

    QTest::mouseClick(page.ShowCodeBox(), Qt::LeftButton);
    ASSERT_TRUE(page.ShowEventCode());
    EXPECT_EQ(Cell(1, 5), QStringLiteral("Тревога в зоне 'периметр'"));

    sim.Press(page.ReadButton());
    EXPECT_EQ(Cell(1, 5), QStringLiteral("131 Тревога в зоне 'периметр'"));
    EXPECT_EQ(Cell(2, 5), QStringLiteral("131 Восстановление зоны 'периметр'"));
    EXPECT_EQ(Cell(6, 5), QStringLiteral("602 Периодический тестовый отчет"));

    QTest::mouseClick(page.ShowCodeBox(), Qt::LeftButton);
    EXPECT_EQ(Cell(1, 5), QStringLiteral("131 Тревога в зоне 'периметр'"));
    sim.Press(page.ReadButton());
    EXPECT_EQ(Cell(1, 5), QStringLiteral("Тревога в зоне 'периметр'"));
}

QString Status(const LogPage& page) { return page.findChild<QLabel*>("logStatus")->text(); }

TEST_F(LogPageTest, ClearAsksFirstAndNoKeepsTheLog) {
    // The buttons follow the port when the page is shown.
    ASSERT_TRUE(sim.OpenPort());
    page.show();
    sim.Press(page.ReadButton());
    ASSERT_EQ(page.List()->rowCount(), 8);
    EXPECT_TRUE(Status(page).startsWith(QStringLiteral("Журнал: 8 записей ("))) << Status(page).toStdString();

    sim.dialogs->answerYes = false;
    sim.Press(page.ClearButton());
    EXPECT_EQ(sim.dialogs->confirms, QStringList{"Журнал событий модуля будет стёрт. Продолжить?"});
    EXPECT_EQ(page.List()->rowCount(), 8);
    EXPECT_FALSE(RingErased());
}

TEST_F(LogPageTest, ClearErasesTheRingAndEmptiesTheList) {
    // The buttons follow the port when the page is shown.
    ASSERT_TRUE(sim.OpenPort());
    page.show();
    sim.Press(page.ReadButton());
    ASSERT_EQ(page.List()->rowCount(), 8);
    auto* empty = page.findChild<QLabel*>("emptyLog");
    EXPECT_FALSE(empty->isVisible());

    sim.dialogs->answerYes = true;
    sim.Press(page.ClearButton());
    EXPECT_EQ(page.List()->rowCount(), 0);
    EXPECT_TRUE(RingErased());
    EXPECT_TRUE(Status(page).startsWith(QStringLiteral("Журнал очищен ("))) << Status(page).toStdString();

    // A read of the empty log says so where the rows would be.
    sim.Press(page.ReadButton());
    EXPECT_EQ(page.List()->rowCount(), 0);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->text(), QStringLiteral("Журнал пуст"));
    EXPECT_TRUE(Status(page).startsWith(QStringLiteral("Журнал пуст ("))) << Status(page).toStdString();
    EXPECT_TRUE(sim.dialogs->messages.empty()) << Messages().join('\n').toStdString();
}

// Every way a transfer can fail is told once and leaves the listing alone.
TEST_F(LogPageTest, FailedTransfersKeepTheList) {
    struct Case {
        const char* name;
        std::function<void(SimulatedModule&)> breakModule;
        const char* message;  // nullptr: the system's text for the port failure
    };
    const Case cases[] = {
        {"no module", [](SimulatedModule& m) { m.GetFaults().absent = true; }, "Устройство не подключено"},
        {"another type", [](SimulatedModule& m) { m.Memory()[23] ^= 0xFF; }, "Неизвестный тип устройства"},
        {"cable pulled", [](SimulatedModule& m) { m.GetFaults().pullAfterCalls = m.GetCounters().Total() + 20000; },
         nullptr},
    };
    for (const Case& c : cases) {
        for (bool clear : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (clear ? ", clear" : ", read"));
            test::PageModel fresh;
            const LogBytes ring = DemoLogArea();
            std::copy(ring.begin(), ring.end(), fresh.module.Memory().begin() + kLogAddress);
            LogPage logPage(fresh.model, nullptr);
            ASSERT_TRUE(fresh.OpenPort());
            fresh.Press(logPage.ReadButton());
            ASSERT_EQ(logPage.List()->rowCount(), 8);

            c.breakModule(fresh.module);
            fresh.dialogs->answerYes = true;
            fresh.Press(clear ? logPage.ClearButton() : logPage.ReadButton());
            EXPECT_EQ(logPage.List()->rowCount(), 8);
            ASSERT_EQ(fresh.dialogs->messages.size(), 1u);
            if (c.message) {
                EXPECT_EQ(fresh.dialogs->messages[0].text, QString::fromUtf8(c.message));
            } else if (clear) {
                // An erase cut short may have left part of the log erased.
                EXPECT_EQ(fresh.dialogs->messages[0].text,
                          QStringLiteral("Input/output error\nМодуль может теперь хранить часть новых данных; "
                                         "повторите запись."));
            } else {
                EXPECT_EQ(fresh.dialogs->messages[0].text, QStringLiteral("Input/output error"));
            }
        }
    }
}

TEST_F(LogPageTest, ButtonsFollowThePortWheneverThePageTakesInput) {
    page.show();
    QPushButton* buttons[] = {page.ReadButton(), page.ClearButton(), page.SaveButton()};

    // Port closed: a click on Read meets a disabled button and reads nothing.
    const auto callsBefore = sim.module.GetCounters().Total();
    QTest::mouseClick(page.ReadButton(), Qt::LeftButton);
    sim.WaitForTransfer();
    for (QPushButton* b : buttons) EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(sim.module.GetCounters().Total(), callsBefore);
    EXPECT_EQ(page.List()->rowCount(), 0);

    // The port opens elsewhere; the next input on the page enables them.
    ASSERT_TRUE(sim.OpenPort());
    QTest::keyClick(page.List(), Qt::Key_Down);
    EXPECT_TRUE(page.ReadButton()->isEnabled());
    EXPECT_TRUE(page.ClearButton()->isEnabled());
    EXPECT_FALSE(page.SaveButton()->isEnabled());  // nothing listed to save
    QTest::mouseClick(page.ReadButton(), Qt::LeftButton);
    sim.WaitForTransfer();
    EXPECT_EQ(page.List()->rowCount(), 8);

    // And closes again: the check box and the list stay usable, and the
    // listed rows can still be saved.
    EXPECT_TRUE(sim.model.link.Close().Ok());
    QTest::mouseClick(page.ClearButton(), Qt::LeftButton);
    sim.WaitForTransfer();
    EXPECT_FALSE(page.ReadButton()->isEnabled());
    EXPECT_FALSE(page.ClearButton()->isEnabled());
    EXPECT_TRUE(page.SaveButton()->isEnabled());
    EXPECT_EQ(page.List()->rowCount(), 8);
    EXPECT_TRUE(page.ShowCodeBox()->isEnabled());
    EXPECT_TRUE(page.List()->isEnabled());
}

TEST_F(LogPageTest, HandlersDoNothingWithThePortClosed) {
    page.ReadLogFromModule();
    page.ClearModuleLog();
    EXPECT_EQ(sim.module.GetCounters().Total(), 0u);
    EXPECT_TRUE(sim.dialogs->messages.empty());
}

}  // namespace
}  // namespace korvex
