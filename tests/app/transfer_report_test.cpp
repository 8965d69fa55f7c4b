// The status line after a transfer, in both programs' words.
#include <gtest/gtest.h>

#include "app/transfer_report.h"

namespace korvex {
namespace {

using std::chrono::milliseconds;

TEST(TransferReport, SaysWhatHappenedAndHowLongItTook) {
    struct Case {
        const Profile* profile;
        TransferReportOf what;
        const char* text;
    };
    const Case cases[] = {
        {&FullProfile(), {TransferKind::WriteConfig, true, milliseconds(1949)}, "Данные записаны и проверены (1,9 с)"},
        {&FullProfile(), {TransferKind::ReadConfig, true, milliseconds(1950)}, "Данные считаны (2,0 с)"},
        {&FullProfile(), {TransferKind::ReadSound, true, milliseconds(30)}, "Звук считан (0,0 с)"},
        {&FullProfile(), {TransferKind::WriteSound, false, milliseconds(12345)}, "Передача не выполнена (12,3 с)"},
        {&FullProfile(), {TransferKind::ReadLog, true, milliseconds(800), 42}, "Журнал: 42 записи (0,8 с)"},
        {&FullProfile(), {TransferKind::ReadLog, true, milliseconds(800), 0}, "Журнал пуст (0,8 с)"},
        {&FullProfile(), {TransferKind::ClearLog, true, milliseconds(100)}, "Журнал очищен (0,1 с)"},
        {&CompactProfile(), {TransferKind::ReadConfig, true, milliseconds(400)}, "Configuration read (0.4 s)"},
        {&CompactProfile(),
         {TransferKind::WriteSound, true, milliseconds(31050)},
         "Sound written and verified (31.1 s)"},
        {&CompactProfile(), {TransferKind::WriteConfig, false, milliseconds(0)}, "Transfer not completed (0.0 s)"},
        // A fast write that found everything held sent nothing: no time to tell.
        {&FullProfile(),
         {TransferKind::WriteConfig, true, milliseconds(40), 0, false, true},
         "Изменений нет, записывать нечего"},
        {&CompactProfile(),
         {TransferKind::WriteConfig, true, milliseconds(0), 0, false, true},
         "Nothing changed, nothing to write"},
        // One that failed on its verify did not find the module as it thought.
        {&CompactProfile(),
         {TransferKind::WriteConfig, false, milliseconds(0), 0, false, true},
         "Transfer not completed (0.0 s)"},
    };
    for (const Case& c : cases) EXPECT_EQ(TransferReport(*c.profile, c.what), c.text);
}

TEST(TransferReport, RecordCountsTakeTheRightNoun) {
    const std::pair<int, const char*> russian[] = {{1, "1 запись"},    {2, "2 записи"},    {4, "4 записи"},
                                                   {5, "5 записей"},   {11, "11 записей"}, {12, "12 записей"},
                                                   {14, "14 записей"}, {21, "21 запись"},  {22, "22 записи"},
                                                   {111, "111 записей"}, {101, "101 запись"}};
    for (const auto& [count, text] : russian) EXPECT_EQ(RecordCount(FullProfile(), count), text);
    EXPECT_EQ(RecordCount(CompactProfile(), 1), "1 record");
    EXPECT_EQ(RecordCount(CompactProfile(), 2), "2 records");
}

}  // namespace
}  // namespace korvex
