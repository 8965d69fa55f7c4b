// The main window: menu, toolbar, status bar, size, page buttons, closing.
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

#include "korvex/about_dialog.h"
#include "ui/korvex_window.h"

namespace korvex::test {
namespace {

using MainFrameTest = KorvexWindow;

QStringList ActionTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions) texts << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return texts;
}

int VisiblePages(CKorvexView& view) {
    int visible = 0;
    for (int id = 1; id <= 8; ++id) visible += view.GetPage(id)->isVisible();
    return visible;
}

TEST_F(MainFrameTest, StartsWithNoPageShownAndTheWindowReady) {
    EXPECT_EQ(frame->windowHandle()->title(), QStringLiteral("Конфигуратор сотового автодозвона"));
    EXPECT_EQ(View().CurrentPage(), 0);
    EXPECT_EQ(VisiblePages(View()), 0);
    for (int id = 1; id <= 8; ++id) EXPECT_FALSE(frame->PageAction(id)->isChecked()) << id;
    auto* ready = Find<QLabel>("ready");
    EXPECT_EQ(ready->text(), QStringLiteral("Готов"));
    EXPECT_TRUE(ready->isVisible());
    // Every phone number starts as the mark "-" with no digits.
    for (const std::string& phone : model->settings.phones) EXPECT_EQ(phone, "-");
}

TEST_F(MainFrameTest, MenusAndToolbarCarryTheirTexts) {
    QStringList menus;
    QList<QStringList> items;
    for (QAction* a : frame->menuBar()->actions()) {
        menus << a->text();
        items << ActionTexts(a->menu()->actions());
    }
    EXPECT_EQ(menus, (QStringList{"&Файл", "&Вид", "&?"}));
    EXPECT_EQ(items[0], (QStringList{"&Открыть...", "&Сохранить...", "Отчёт...", "|", "В&ыход"}));
    EXPECT_EQ(items[1], (QStringList{"Панели &инструментов", "Полоса &статуса", "|", "&Быстрый обмен",
                                     "С&корость демо-модуля", "|", "Файл", "Телефоны", "Сообщения", "Зоны", "Свойства",
                                     "Коммуникатор", "Обозначения", "Журнал"}));
    EXPECT_EQ(items[2], (QStringList{"&Руководство пользователя", "&О программе ..."}));

    QStringList tips;
    for (QAction* a : frame->ToolBar()->actions()) tips << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
    EXPECT_EQ(tips, (QStringList{"О программе", "|", "Файл", "Телефоны", "Сообщения", "Зоны", "Свойства",
                                 "Коммуникатор", "Обозначения", "Журнал"}));
    for (int id = 1; id <= 8; ++id) EXPECT_EQ(frame->PageAction(id)->statusTip(), frame->PageAction(id)->toolTip());
}

TEST_F(MainFrameTest, StatusBarShowsPromptsThenReadyAgain) {
    auto* ready = Find<QLabel>("ready");
    QStatusTipEvent tip(frame->PageAction(int(PageId::Zones))->statusTip());
    QApplication::sendEvent(frame.get(), &tip);
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("Зоны"));
    EXPECT_FALSE(ready->isVisible());
    QStatusTipEvent none{QString()};
    QApplication::sendEvent(frame.get(), &none);
    EXPECT_TRUE(ready->isVisible());
}

TEST_F(MainFrameTest, EachPageButtonShowsItsPageAloneAndIsTheOnlyOneChecked) {
    for (int id : {1, 4, 3, 5, 2, 8, 7, 6, 6}) {
        frame->PageAction(id)->trigger();
        EXPECT_EQ(View().CurrentPage(), id);
        EXPECT_EQ(VisiblePages(View()), 1);
        EXPECT_TRUE(View().GetPage(id)->isVisible()) << id;
        for (int other = 1; other <= 8; ++other) EXPECT_EQ(frame->PageAction(other)->isChecked(), other == id);
    }
}

TEST_F(MainFrameTest, PropertiesTurnsCyrillicOffOtherPagesLeaveIt) {
    SetCyrillicAllowed(1);
    for (int id : {1, 3, 4, 5, 6, 7, 8}) {
        frame->PageAction(id)->trigger();
        EXPECT_EQ(CyrillicAllowed(), 1) << id;
    }
    frame->PageAction(int(PageId::Properties))->trigger();
    EXPECT_EQ(CyrillicAllowed(), 0);
}

TEST_F(MainFrameTest, TheFirstStartIsCentredAtTheStartSize) {
    EXPECT_EQ(frame->size(), CMainFrame::kStartSize.expandedTo(frame->minimumSizeHint()));
    EXPECT_EQ(CMainFrame::CentredPosition(QSize(1920, 1080), QSize(640, 480)), QPoint(640, 300));
    EXPECT_EQ(CMainFrame::CentredPosition(QSize(1025, 769), QSize(640, 480)), QPoint(192, 144));
}

// Every page a key away: Ctrl+1..Ctrl+8 in the toolbar's order, from
// whatever has the focus; Tab then goes into the page shown, never into a
// hidden one.
TEST_F(MainFrameTest, CtrlAndADigitShowsEachPageInTheToolbarsOrder) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    const PageId order[] = {PageId::File,       PageId::Phones,       PageId::Messages, PageId::Zones,
                            PageId::Properties, PageId::Communicator, PageId::Names,    PageId::Log};
    // Starting with the focus in a field of another page.
    frame->PageAction(int(PageId::Phones))->trigger();
    Find<QLineEdit>("number1")->setFocus(Qt::OtherFocusReason);
    for (int place : {3, 0, 7, 1, 6, 2, 5, 4}) {
        QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : frame.get();
        QTest::keyClick(from, Qt::Key(Qt::Key_1 + place), Qt::ControlModifier);
        const int id = int(order[place]);
        ASSERT_EQ(View().CurrentPage(), id) << "Ctrl+" << place + 1;
        EXPECT_EQ(VisiblePages(View()), 1);
        EXPECT_TRUE(frame->PageAction(id)->isChecked());
        EXPECT_EQ(frame->PageAction(id)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + place)));
        QWidget* page = View().GetPage(id);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame.get(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << id;
        EXPECT_TRUE(page->isAncestorOf(focus) && focus->isVisible())
            << "page " << id << ": Tab went to " << focus->metaObject()->className() << " "
            << focus->objectName().toStdString();
    }
}

// The toolbar's buttons take no focus, so each has a key: the pages
// Ctrl+1..8, About the Help menu's entry.
TEST_F(MainFrameTest, EveryToolbarButtonHasAKeyboardPath) {
    for (QAction* action : frame->ToolBar()->actions()) {
        if (action->isSeparator()) continue;
        bool inMenu = false;
        for (QAction* menu : frame->menuBar()->actions()) inMenu = inMenu || menu->menu()->actions().contains(action);
        EXPECT_TRUE(inMenu) << action->toolTip().toStdString();
    }
    QStringList keys;
    for (int id = 1; id <= 8; ++id) keys << frame->PageAction(id)->shortcut().toString();
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 8);
}

TEST_F(MainFrameTest, CtrlQQuitsAndAsksAboutUnsavedEditsFirst) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    EXPECT_EQ(Find<QAction>("exit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    frame->PageAction(int(PageId::Phones))->trigger();
    Type("number1", "4951234567");
    dialogs->saveChoice = Dialogs::SaveChoice::Cancel;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(dialogs->saveQuestions.size(), 1);
    EXPECT_TRUE(frame->isVisible());
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameTest, EveryPageFitsTheWindow) {
    for (int id = 1; id <= 8; ++id) {
        frame->PageAction(id)->trigger();
        QWidget* page = View().GetPage(id);
        EXPECT_LE(page->minimumSizeHint().width(), View().width()) << id;
        EXPECT_LE(page->minimumSizeHint().height(), View().height()) << id;
    }
}

TEST_F(MainFrameTest, AboutBoxSaysWhatAndWhichVersion) {
    AboutDialog about(frame.get());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе ..."));
    EXPECT_EQ(about.findChild<QLabel*>("aboutText")->text(),
              QStringLiteral("Конфигуратор сотового автодозвона\n\nВерсия 1.04"));
    auto* ok = about.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    about.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(MainFrameTest, FileMenuOpensAndSavesProjectsFromAnyPage) {
    auto* open = Find<QAction>("openProject");
    auto* save = Find<QAction>("saveProject");
    EXPECT_EQ(open->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(save->shortcut(), QKeySequence(QKeySequence::Save));
    QTemporaryDir dir;
    const QString path = dir.filePath("menu.rom");
    frame->PageAction(int(PageId::Phones))->trigger();
    model->settings = SampleSettings();
    dialogs->answers.push_back(path);
    save->trigger();
    EXPECT_EQ(QFile(path).size(), 1120);
    model->settings.Clear();
    dialogs->saveChoice = Dialogs::SaveChoice::Discard;  // the cleared settings may go
    dialogs->answers.push_back(path);
    open->trigger();
    EXPECT_EQ(model->settings.phones[0], "+79161234567");
    EXPECT_EQ(View().CurrentPage(), int(PageId::Phones));
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
}

TEST_F(MainFrameTest, ClosingTheWindowClosesThePort) {
    OpenDemo();
    EXPECT_TRUE(frame->close());
    EXPECT_FALSE(model->link.IsOpen());
    // With the port closed there is nothing more to do.
    frame->show();
    EXPECT_TRUE(frame->close());
}

// Escape stops a running transfer; a stopped read leaves the pages and
// what the module is known to hold as they were, and says it stopped.
TEST_F(MainFrameTest, EscapeStopsATransferAndAStoppedReadChangesNothing) {
    sim.Load(FullProfile(), SampleSettings());
    OpenDemo();
    const ConfigSettings before = model->settings;
    const std::vector<std::uint8_t> imageBefore = model->readImage;
    ClickAndActInside("readData", [&] { QTest::keyClick(frame.get(), Qt::Key_Escape); });
    EXPECT_TRUE(model->settings == before);
    EXPECT_EQ(model->readImage, imageBefore);
    EXPECT_TRUE(model->link.HeldImage().empty());
    EXPECT_TRUE(Find<QLabel>("status")->text().startsWith(QStringLiteral("Передача остановлена (")))
        << Find<QLabel>("status")->text().toStdString();
    EXPECT_TRUE(dialogs->TakeTexts().isEmpty());
    EXPECT_TRUE(model->link.IsOpen());
    // The bus was left clean: the next read reads the module whole.
    Click("readData");
    EXPECT_EQ(model->settings.phones[0], "+79161234567");
}

}  // namespace
}  // namespace korvex::test

namespace korvex::test {
namespace {

TEST_F(MainFrameTest, EnterAndEscapeOnAPageFieldChangeNothing) {
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->PageAction(int(PageId::Phones))->trigger();
    auto* number = Find<QLineEdit>("number1");
    number->setFocus(Qt::OtherFocusReason);
    const ConfigSettings before = model->settings;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(number, key);
        EXPECT_TRUE(View().GetPage(int(PageId::Phones))->isVisible());
        EXPECT_EQ(View().CurrentPage(), int(PageId::Phones));
        EXPECT_TRUE(frame->isVisible());
    }
    EXPECT_EQ(model->settings, before);
}

TEST_F(MainFrameTest, ZonesShowWhatWasJustRead) {
    frame->PageAction(int(PageId::Zones))->trigger();
    EXPECT_EQ(Find<QLineEdit>("smsPhoneShown")->text(), QString());
    OpenDemo();
    Click("readData");
    ASSERT_TRUE(dialogs->messages.empty());
    frame->PageAction(int(PageId::Zones))->trigger();
    EXPECT_EQ(Find<QLineEdit>("smsPhoneShown")->text(), QStringLiteral("+79161234567"));
}

}  // namespace
}  // namespace korvex::test
