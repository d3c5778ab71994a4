#include "platform/qt_file_system.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "persist/state_file.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

class QtFileSystemTest : public testing::Test {
protected:
    std::wstring Path(const char* name) const { return m_directory.filePath(QString::fromUtf8(name)).toStdWString(); }
    QByteArray Contents(const char* name) const
    {
        QFile file(m_directory.filePath(QString::fromUtf8(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void Put(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_directory.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    qsizetype EntryCount() const
    {
        return QDir(m_directory.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size();
    }

    QTemporaryDir m_directory;
    QtFileSystem m_files;
};

TEST_F(QtFileSystemTest, TargetChangesOnlyAtCommit)
{
    Put("a.rpn", "old");
    auto sink = m_files.CreateFile(Path("a.rpn"));
    ASSERT_TRUE(sink);
    const std::uint8_t bytes[] = {'n', 'e', 'w'};
    ASSERT_TRUE(sink->Write(bytes));
    EXPECT_EQ(Contents("a.rpn"), QByteArray("old"));
    ASSERT_TRUE(sink->Commit());
    EXPECT_EQ(Contents("a.rpn"), QByteArray("new"));
    sink.reset();
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(QtFileSystemTest, AbandonedSinkKeepsTheOldFileAndLeavesNothingBehind)
{
    Put("a.rpn", "old");
    {
        auto sink = m_files.CreateFile(Path("a.rpn"));
        ASSERT_TRUE(sink);
        const std::uint8_t bytes[] = {'x'};
        sink->Write(bytes);
    }
    EXPECT_EQ(Contents("a.rpn"), QByteArray("old"));
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(QtFileSystemTest, UnreachablePathsFail)
{
    Put("file", "x");
    EXPECT_EQ(m_files.CreateFile(Path("file/inside.rpn")), nullptr);
    EXPECT_EQ(m_files.CreateFile(Path("no/such/dir.rpn")), nullptr);
    EXPECT_EQ(m_files.OpenFile(Path("absent.rpn")), nullptr);
}

TEST_F(QtFileSystemTest, StateFileSavedAndLoaded)
{
    test::FakeDialogs dialogs;
    const CalcState saved = test::AfterKeys("2 SQRT ENTER 1 . 5");
    const std::wstring path = Path("st\u00e4te.rpn");
    ASSERT_TRUE(WriteStateFile(saved, path, m_files, dialogs));
    CalcState state = MakeResetState();
    ASSERT_TRUE(ReadStateFile(state, path, m_files, dialogs));
    EXPECT_TRUE(test::SameBits(state, saved));

    Put("short.rpn", Contents("st\u00e4te.rpn").left(40));
    const CalcState before = state;
    EXPECT_FALSE(ReadStateFile(state, Path("short.rpn"), m_files, dialogs));
    EXPECT_TRUE(test::SameBits(state, before));
    EXPECT_EQ(dialogs.Messages(), std::vector<std::wstring>{L"File Error"});
}

}  // namespace
}  // namespace rpn
