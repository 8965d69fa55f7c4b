#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

#include "log/log_demo.h"
#include "pages/log_page.h"
#include "model/cp1251.h"
#include "ui/page_model.h"

namespace korvex {
namespace {

class LogPageCsv : public ::testing::Test {
protected:
    LogPageCsv() {
        const LogBytes ring = DemoLogArea();
        std::copy(ring.begin(), ring.end(), sim.module.Memory().begin() + kLogAddress);
        EXPECT_TRUE(dir.isValid());
    }
    void ReadDemo() {
        ASSERT_TRUE(sim.OpenPort());
        sim.Press(page.ReadButton());
        ASSERT_EQ(page.List()->rowCount(), 8);
    }
    QByteArray FileBytes(const QString& path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    test::PageModel sim;
    LogPage page{sim.model, nullptr};
    QTemporaryDir dir;
};

TEST_F(LogPageCsv, WritesTheListedRowsInCodePage1251) {
    ReadDemo();
    const QString path = dir.filePath(QStringLiteral("журнал.csv"));
    sim.dialogs->answers.push_back(path);
    page.SaveButton()->click();

    ASSERT_EQ(sim.dialogs->questions.size(), 1u);
    EXPECT_EQ(sim.dialogs->questions[0].title, QStringLiteral("Save csv file"));
    EXPECT_EQ(sim.dialogs->questions[0].filter, QStringLiteral("CSV files (*.csv);;cfg files(*.csv)"));
    EXPECT_EQ(sim.dialogs->questions[0].suffix, QStringLiteral("csv"));
    EXPECT_TRUE(sim.dialogs->questions[0].save);
    EXPECT_TRUE(sim.dialogs->messages.empty());

    const QByteArray bytes = FileBytes(path);
    const std::string text = Cp1251ToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // Code page 1251 on disk: "д" of "декабрь" is the single byte 0xE4.
    EXPECT_TRUE(bytes.contains("05 \xE4\xE5\xEA\xE0\xE1\xF0\xFC"));
    EXPECT_EQ(text,
              "   \r\n"
              "18:05,04 декабрь,1234,01,Постановка на охрану пользователем,01\r\n"
              "02:41,05 декабрь,1234,01,Тревога в зоне 'периметр',02\r\n"
              "02:44,05 декабрь,1234,01,Восстановление зоны 'периметр',02\r\n"
              "09:23,05 декабрь,1234,01,Отсутствие сетевого питания\r\n"
              "11:07,05 декабрь,1234,01,Сетевое питание в норме\r\n"
              "03:15,06 декабрь,1234,01,\"Тихая тревога, взлом\",03\r\n"
              "12:00,06 декабрь,1234,01,Периодический тестовый отчет\r\n"
              "19:30,06 декабрь,1234,01,Снятие с охраны пользователем,01\r\n");
    // Saving leaves the list as it was.
    EXPECT_EQ(page.List()->rowCount(), 8);
}

TEST_F(LogPageCsv, ReplacesAnExistingFile) {
    ReadDemo();
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    sim.dialogs->answers.push_back(path);
    page.SaveButton()->click();
    EXPECT_TRUE(FileBytes(path).startsWith("   \r\n18:05,"));
    EXPECT_FALSE(FileBytes(path).contains('x'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("log.csv")});
    EXPECT_EQ(sim.dialogs->usedFiles, QStringList{path});
}

TEST_F(LogPageCsv, EmptyListAsksForNoFile) {
    ASSERT_TRUE(sim.OpenPort());
    const QString path = dir.filePath(QStringLiteral("never.csv"));
    sim.dialogs->answers.push_back(path);
    page.SaveButton()->click();
    page.SaveLogCsv();
    EXPECT_TRUE(sim.dialogs->questions.empty());
    EXPECT_TRUE(sim.dialogs->messages.empty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LogPageCsv, CancelWritesNothing) {
    ReadDemo();
    page.SaveButton()->click();  // no answer: the dialog was cancelled
    EXPECT_EQ(sim.dialogs->questions.size(), 1u);
    EXPECT_TRUE(sim.dialogs->messages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(LogPageCsv, AFileThatCannotBeWrittenIsReportedWithNameAndReason) {
    ReadDemo();
    const QString path = dir.filePath(QStringLiteral("missing-folder/log.csv"));
    sim.dialogs->answers.push_back(path);
    page.SaveButton()->click();
    ASSERT_EQ(sim.dialogs->messages.size(), 1u);
    EXPECT_EQ(sim.dialogs->messages[0].text, QStringLiteral("Не удалось сохранить файл"));
    EXPECT_TRUE(sim.dialogs->messages[0].detail.startsWith(path + QStringLiteral(": ")));
    EXPECT_TRUE(sim.dialogs->messages[0].detail.contains(QStringLiteral("No such file or directory")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(page.List()->rowCount(), 8);
    EXPECT_TRUE(sim.dialogs->usedFiles.isEmpty());
}

}  // namespace
}  // namespace korvex
