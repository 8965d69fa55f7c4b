// The user manual: found beside the program or in the source tree, opened
// by F1 and the Help menu of both programs, and whole in both languages.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/manual.h"
#include "ui/korvex_window.h"
#include "ui/tamlo_window.h"

namespace korvex::test {
namespace {

void Put(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

TEST(FindManual, TakesTheFirstFolderWithTheLanguageThenTheOther) {
    QTemporaryDir dir;
    const QString installed = dir.filePath("share/korvex/manual"), source = dir.filePath("docs/manual");
    Put(installed + "/en/index.html");
    Put(source + "/ru/index.html");
    Put(source + "/en/index.html");
    const QString missing = dir.filePath("nowhere");
    const struct {
        QString language;
        QStringList folders;
        QString found;  // empty: none
    } cases[] = {
        {"ru", {missing, installed, source}, source + "/ru/index.html"},
        {"en", {missing, installed, source}, installed + "/en/index.html"},
        // No Russian one installed: the English one rather than nothing.
        {"ru", {installed}, installed + "/en/index.html"},
        {"en", {missing}, {}},
        {"ru", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindManual(c.language, c.folders), c.found)
            << c.language.toStdString() << " in " << c.folders.join(',').toStdString();
}

using KorvexManual = KorvexWindow;
using TamloManual = TamloWindow;

TEST_F(KorvexManual, F1AndTheHelpMenuOpenTheRussianManual) {
    auto* manual = Find<QAction>("manual");
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(manual->text(), QStringLiteral("&Руководство пользователя"));
    EXPECT_EQ(manual->shortcut(), QKeySequence(QKeySequence::HelpContents));
    bool inHelpMenu = false;
    for (QAction* menu : frame->menuBar()->actions())
        if (menu->menu() && menu->menu()->actions().contains(manual)) inHelpMenu = menu->text() == QStringLiteral("&?");
    EXPECT_TRUE(inHelpMenu);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(frame.get(), Qt::Key_F1);
    ASSERT_EQ(dialogs->openedDocuments.size(), 1);
    EXPECT_TRUE(dialogs->openedDocuments[0].endsWith(QStringLiteral("/manual/ru/index.html")))
        << dialogs->openedDocuments[0].toStdString();
    EXPECT_TRUE(QFileInfo(dialogs->openedDocuments[0]).isFile());
}

TEST_F(TamloManual, F1AndTheHelpButtonOpenTheEnglishManual) {
    QPushButton* help = Button("help");
    ASSERT_NE(help, nullptr);
    ASSERT_NE(help->menu(), nullptr);
    auto* manual = Find<QAction>("manual");
    EXPECT_TRUE(help->menu()->actions().contains(manual));
    manual->trigger();
    // F1 from inside a page, away from the button row.
    ChoosePage(PageId::Properties);
    Find<QLineEdit>("password")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get(), Qt::Key_F1);
    ASSERT_EQ(dialogs->openedDocuments.size(), 2);
    for (const QString& page : dialogs->openedDocuments)
        EXPECT_TRUE(page.endsWith(QStringLiteral("/manual/en/index.html"))) << page.toStdString();
}

TEST_F(TamloManual, SaysWhereItLookedOrThatNothingShowsIt) {
    QTemporaryDir dir;
    OpenManual(*model, dialog.get(), {dir.filePath("a"), dir.filePath("b")});
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.startsWith(QStringLiteral("The user manual was not found.")));
    EXPECT_TRUE(dialogs->messages[0].text.contains(QDir::toNativeSeparators(dir.filePath("b"))));
    EXPECT_TRUE(dialogs->openedDocuments.isEmpty());

    dialogs->messages.clear();
    dialogs->documentOpens = false;
    Put(dir.filePath("b/en/index.html"));
    OpenManual(*model, dialog.get(), {dir.filePath("a"), dir.filePath("b")});
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("the system has no program that shows HTML")));
}

// Both manuals: the same sections, every one in the contents, and every
// picture and page they point at there.
TEST(ManualPages, BothLanguagesHoldTheSameSectionsAndTheirPictures) {
    const QString folder = ManualFolders().constLast();
    std::map<QString, QStringList> sections;
    for (const char* language : {"ru", "en"}) {
        const QString path = QDir(folder).filePath(QStringLiteral("%1/index.html").arg(language));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        QStringList ids, contents;
        for (const auto& m : QRegularExpression(QStringLiteral("<h2 id=\"([^\"]+)\"")).globalMatch(html))
            ids << m.captured(1);
        for (const auto& m : QRegularExpression(QStringLiteral("<li><a href=\"#([^\"]+)\"")).globalMatch(html))
            contents << m.captured(1);
        EXPECT_GE(ids.size(), 10) << language;
        EXPECT_EQ(contents, ids) << language << ": the contents list every section in order";
        sections[language] = ids;
        for (const auto& m : QRegularExpression(QStringLiteral("(?:src|href)=\"([^\"#:]+)\"")).globalMatch(html)) {
            const QString target = QFileInfo(path).dir().filePath(m.captured(1));
            EXPECT_TRUE(QFileInfo(target).isFile()) << language << " points at " << m.captured(1).toStdString();
        }
    }
    EXPECT_EQ(sections["ru"], sections["en"]);
}

}  // namespace
}  // namespace korvex::test
