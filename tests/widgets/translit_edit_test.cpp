#include "widgets/translit_edit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

#include "app/app_flags.h"
#include "ui/key_input.h"

namespace korvex {
namespace {

class FlagGuard {
public:
    explicit FlagGuard(std::int32_t value) { SetCyrillicAllowed(value); }
    ~FlagGuard() { SetCyrillicAllowed(0); }
};

struct TypingCase {
    const char* name;
    std::int32_t cyrillicAllowed;
    int maxLength;
    const char16_t* before;
    const char16_t* typed;
    const char16_t* after;
};

const TypingCase kTypingCases[] = {
    {"Pike", 0, 68, u"", u"Щука", u"SCHuka"},
    {"Hedgehog", 0, 68, u"", u"Ёж", u"JOzh"},
    {"HardSign", 0, 68, u"", u"съел", u"s'el"},
    {"SoftSignsAndCapitals", 0, 68, u"", u"ЪЬъьЯЮХЦЧШ", u"''''JAJUKHTSCHSH"},
    {"OtherFlagValueTransliterates", 2, 68, u"", u"Ёлка", u"JOlka"},
    {"CyrillicAllowedPasses", 1, 68, u"", u"Щука съел", u"Щука съел"},
    {"CyrillicAllowedRefusesYoAndSigns", 1, 68, u"a", u"Ёё№©«»ЇїІіЄє", u"a"},
    {"LatinOnlyRefusesSignsButNotYo", 0, 68, u"", u"№©«»Її°±ё", u"jo"},
    {"DashAndQuotesPassBothModes0", 0, 68, u"", u"a–b—c„d“e€", u"a–b—c„d“e€"},
    {"DashAndQuotesPassBothModes1", 1, 68, u"", u"a–b—c„d“e€", u"a–b—c„d“e€"},
    {"AsciiUnchanged", 0, 68, u"", u"Call 112, now!", u"Call 112, now!"},
    // Characters code page 1251 has no byte for could never be stored.
    {"NoCodeRefused", 0, 68, u"", u"äαé中", u""},
    {"NoCodeRefusedCyrillicAllowed", 1, 68, u"", u"äѣ", u""},
    // The length limit cuts a multi-letter result after what still fits.
    {"LimitCutsThreeLetters", 0, 24, u"12345678901234567890123", u"Щ", u"12345678901234567890123S"},
    {"LimitCutsAfterTwo", 0, 24, u"1234567890123456789012", u"Щ", u"1234567890123456789012SC"},
    {"LimitFull", 0, 24, u"123456789012345678901234", u"Ж", u"123456789012345678901234"},
    {"LimitThenLaterLetters", 0, 31, u"123456789012345678901234567890", u"шa", u"123456789012345678901234567890s"},
};

void PrintTo(const TypingCase& c, std::ostream* os) { *os << c.name; }

class TranslitTyping : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TranslitTyping, KeysGiveTheText) {
    const TypingCase& c = GetParam();
    FlagGuard flag(c.cyrillicAllowed);
    TranslitEdit edit;
    edit.setMaxLength(c.maxLength);
    edit.setText(QString::fromUtf16(c.before));
    test::TypeText(&edit, QString::fromUtf16(c.typed));
    EXPECT_EQ(edit.text(), QString::fromUtf16(c.after));
}

TEST_P(TranslitTyping, InputMethodGivesTheSameText) {
    const TypingCase& c = GetParam();
    FlagGuard flag(c.cyrillicAllowed);
    TranslitEdit edit;
    edit.setMaxLength(c.maxLength);
    edit.setText(QString::fromUtf16(c.before));
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf16(c.typed));
    QApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), QString::fromUtf16(c.after));
}

INSTANTIATE_TEST_SUITE_P(Cases, TranslitTyping, ::testing::ValuesIn(kTypingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TranslitEdit, FlagIsReadAtEveryKey) {
    FlagGuard flag(0);
    TranslitEdit edit;
    test::TypeText(&edit, QStringLiteral("ж"));
    SetCyrillicAllowed(1);
    test::TypeText(&edit, QStringLiteral("ж"));
    SetCyrillicAllowed(0);
    test::TypeText(&edit, QStringLiteral("ж"));
    EXPECT_EQ(edit.text(), QStringLiteral("zhжzh"));
}

TEST(TranslitEdit, EditingKeysStillWork) {
    FlagGuard flag(0);
    TranslitEdit edit;
    test::TypeText(&edit, QStringLiteral("Щи"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    test::TypeText(&edit, QStringLiteral("я"));
    EXPECT_EQ(edit.text(), QStringLiteral("jaSCH"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);  // copy is the edit's own
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("jaSCH"));
}

// Every way of pasting, tried first on a plain line edit (to show the way
// really pastes there) and then on a TranslitEdit.
struct PastePath {
    const char* name;
    std::function<void(QLineEdit&)> paste;
    bool needsSelection = false;  // pastes only where the platform has a selection
};

void PrintTo(const PastePath& path, std::ostream* os) { *os << path.name; }

void PressPasteKeys(QLineEdit& edit) {
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Insert, Qt::ShiftModifier);
}

void PasteFromContextMenu(QLineEdit& edit) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no context menu opened";
    for (QAction* action : menu->actions()) {
        if (IsPasteAction(action)) action->trigger();
    }
    menu->close();
}

void MiddleClick(QLineEdit& edit) { QTest::mouseClick(&edit, Qt::MiddleButton, {}, QPoint(5, 5)); }

void Drop(QLineEdit& edit) {
    QMimeData data;
    data.setText(QStringLiteral("PASTED"));
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&edit, &drop);
}

class TranslitPaste : public ::testing::TestWithParam<PastePath> {
protected:
    void SetUp() override {
        QGuiApplication::clipboard()->setText(QStringLiteral("PASTED"));
        if (QGuiApplication::clipboard()->supportsSelection())
            QGuiApplication::clipboard()->setText(QStringLiteral("PASTED"), QClipboard::Selection);
    }
};

TEST_P(TranslitPaste, IsRefused) {
    const PastePath& path = GetParam();
    QLineEdit plain;
    plain.setText(QStringLiteral("ab"));
    plain.show();
    path.paste(plain);
    // The middle button pastes only where the platform has a selection
    // (X11); the offscreen platform has none, so there the plain edit
    // keeps its text too.
    if (!path.needsSelection || QGuiApplication::clipboard()->supportsSelection()) {
        EXPECT_TRUE(plain.text().contains(QStringLiteral("PASTED"))) << path.name;
    }

    TranslitEdit edit;
    edit.setText(QStringLiteral("ab"));
    edit.show();
    path.paste(edit);
    EXPECT_EQ(edit.text(), QStringLiteral("ab")) << path.name;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TranslitPaste,
    ::testing::Values(PastePath{"Keyboard", PressPasteKeys}, PastePath{"ContextMenu", PasteFromContextMenu},
                      PastePath{"MiddleClick", MiddleClick, true},
                      PastePath{"Drop", Drop}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TranslitEdit, ContextMenuOffersNoPaste) {
    QGuiApplication::clipboard()->setText(QStringLiteral("PASTED"));
    TranslitEdit edit;
    std::unique_ptr<QMenu> menu(edit.CreateFilteredContextMenu());
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (IsPasteAction(action)) paste = action;
    }
    ASSERT_NE(paste, nullptr);
    EXPECT_FALSE(paste->isEnabled());
}

}  // namespace
}  // namespace korvex
