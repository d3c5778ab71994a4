#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "persist/settings.h"
#include "platform/qt/profile_store.h"
#include "testsupport/faulty_system_calls.h"
#include "testsupport/keystrokes.h"

namespace rpn {
namespace {

class QtProfileStoreTest : public testing::Test {
protected:
    QString IniPath() const { return m_directory.filePath(QStringLiteral("settings.ini")); }
    void WriteIni(const char* text) const
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadIni() const
    {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_directory;
};

TEST_F(QtProfileStoreTest, TextsAndIntegersSurviveTheFile)
{
    {
        QtProfileStore store(IniPath());
        store.WriteProfileString(L"KelRPN8", L"SuperMode", L" ");
        store.WriteProfileString(L"KelRPN8", L"Integer", L"a,b \u00e9\U0001F600");
        store.WriteProfileInt(L"KelRPN8", L"Brightness", -5);
        store.WriteProfileString(L"Recent File List", L"File1", L"/home/user/a b.rpn");
        ASSERT_TRUE(store.Flush());
    }
    QtProfileStore store(IniPath());
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"SuperMode"), L" ");
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"Integer"), L"a,b \u00e9\U0001F600");
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"Brightness", 0), -5);
    EXPECT_EQ(store.GetProfileString(L"Recent File List", L"File1"), L"/home/user/a b.rpn");
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"File1"), L"");
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"Absent"), L"");
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"Absent", -2), -2);
    EXPECT_TRUE(ReadIni().contains("[KelRPN8]"));
}

TEST_F(QtProfileStoreTest, IntegerEntryWithoutAnIntegerReadsAsAbsent)
{
    WriteIni(
        "[KelRPN8]\nA=abc\nB=12abc\nC=99999999999\nD=\nE= 42\nF=-7\nG=\"1,5\"\nH=1,5\n"
        "I=+5\nJ=+-5\nK=-2147483648\nL=2147483648\nM=+\nN=4 2\nO=\"\t8\\r\"\nP=\xd9\xa1\n");
    QtProfileStore store(IniPath());
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"A", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"B", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"C", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"D", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"E", -9), 42);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"F", -9), -7);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"I", -9), 5);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"K", -9), -2147483647 - 1);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"O", -9), 8);
    for (const wchar_t* absent : {L"J", L"L", L"M", L"N", L"P"})
        EXPECT_EQ(store.GetProfileInt(L"KelRPN8", absent, -9), -9) << absent;
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"G"), L"1,5");
    EXPECT_EQ(store.GetProfileString(L"KelRPN8", L"H"), L"1,5");
}

TEST_F(QtProfileStoreTest, SettingsRoundTripThroughARealFile)
{
    CalcState state = test::AfterKeys("GRD FIX 4 1 2 . 5 STO 7 2 . 2 5 ENTER 3 .");
    state.bAudibleClicks = true;
    state.Brightness = 3;
    {
        QtProfileStore store(IniPath());
        ASSERT_TRUE(SaveSettings(state, store));
    }
    QtProfileStore store(IniPath());
    CalcState loaded = MakeResetState();
    ASSERT_TRUE(LoadSettings(loaded, store));
    EXPECT_TRUE(test::SameBits(loaded, state));
}

TEST_F(QtProfileStoreTest, HandEditedFileStopsTheChainWhereAnEntryIsMissing)
{
    {
        QtProfileStore store(IniPath());
        ASSERT_TRUE(SaveSettings(test::AfterKeys("5 STO 3 6 STO 4 RAD"), store));
    }
    QByteArray text = ReadIni();
    const qsizetype start = text.indexOf("RegS4=");
    ASSERT_GE(start, 0);
    text.remove(start, text.indexOf('\n', start) - start + 1);
    text.replace("RegX=", "RegX=abc");
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();

    QtProfileStore store(IniPath());
    CalcState loaded = MakeResetState();
    EXPECT_FALSE(LoadSettings(loaded, store));
    EXPECT_EQ(loaded.AngleMode, L"RAD");
    EXPECT_EQ(loaded.RegS[3], 5.0);
    EXPECT_EQ(loaded.RegS[4], 0.0);
}

TEST_F(QtProfileStoreTest, FlushReportsAFileThatCannotBeWritten)
{
    WriteIni("not a directory");
    QtProfileStore store(IniPath() + QStringLiteral("/RPN.ini"));
    store.WriteProfileInt(L"KelRPN8", L"Brightness", 1);
    EXPECT_FALSE(store.Flush());
    EXPECT_FALSE(SaveSettings(MakeResetState(), store));
    EXPECT_EQ(ReadIni(), QByteArray("not a directory"));
}

TEST_F(QtProfileStoreTest, AFailureAtAnyStepOfTheSaveKeepsTheSettingsFile)
{
    {
        QtProfileStore store(IniPath());
        store.WriteProfileInt(L"KelRPN8", L"Brightness", 1);
        ASSERT_TRUE(store.Flush());
    }
    const QByteArray old = ReadIni();
    for (const test::SaveStep& step : test::kSaveSteps) {
        test::FaultyCalls calls;
        QtProfileStore store(IniPath(), &calls);
        store.WriteProfileInt(L"KelRPN8", L"Brightness", 2);
        calls.Fail(step.call, step.nth, step.error);
        calls.WritePieces(8);
        EXPECT_FALSE(store.Flush()) << step.what;
        EXPECT_GE(calls.Count(step.call), step.nth) << step.what << ": the step was never reached";
        QStringList entries =
            QDir(m_directory.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (step.leavesTemporary)
            entries.removeOne(QStringLiteral(".settings.ini.saving"));
        EXPECT_EQ(entries, QStringList{QStringLiteral("settings.ini")}) << step.what;
        if (step.afterRename) {
            EXPECT_TRUE(ReadIni().contains("Brightness=2")) << step.what;
            WriteIni(old.constData());
        } else {
            EXPECT_EQ(ReadIni(), old) << step.what;
        }
        QFile::remove(m_directory.filePath(QStringLiteral(".settings.ini.saving")));
    }
}

// A device, FIFO, folder, huge file or link to nothing where the settings
// file belongs: read as no settings, without waiting, and left as it is.
TEST_F(QtProfileStoreTest, WhatIsNoReadableSettingsFileIsNeitherReadNorReplaced)
{
    const QString fifo = m_directory.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString huge = m_directory.filePath(QStringLiteral("huge.ini"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[KelRPN8]\nBrightness=3\n");
        ASSERT_TRUE(file.resize(qint64{1} << 30));
    }
    ASSERT_TRUE(QDir(m_directory.path()).mkdir(QStringLiteral("folder.ini")));
    ASSERT_TRUE(QFile::link(fifo, m_directory.filePath(QStringLiteral("to-fifo.ini"))));
    ASSERT_TRUE(QFile::link(m_directory.filePath(QStringLiteral("nowhere")),
                            m_directory.filePath(QStringLiteral("dangling.ini"))));
    for (const char* name : {"fifo", "huge.ini", "folder.ini", "to-fifo.ini", "dangling.ini"}) {
        const QString path = m_directory.filePath(QString::fromLatin1(name));
        const QFileInfo before(path);
        QtProfileStore store(path);
        EXPECT_TRUE(store.Refused()) << name;
        EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"Brightness", -5), -5) << name;
        EXPECT_FALSE(SaveSettings(MakeResetState(), store)) << name;
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), before.isSymLink()) << name;
        EXPECT_EQ(after.isFile(), before.isFile()) << name;
        EXPECT_EQ(after.size(), before.size()) << name;
        EXPECT_EQ(after.lastModified(), before.lastModified()) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(m_directory.filePath(QStringLiteral("nowhere"))));
    QtProfileStore store(IniPath());
    EXPECT_FALSE(store.Refused());
}

TEST_F(QtProfileStoreTest, UserStoreLivesInTheConfigurationDirectory)
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_directory.path());
    probe.setProcessEnvironment(environment);

    probe.start(QStringLiteral(RPN_PROFILE_STORE_PROBE), {QStringLiteral("save")});
    ASSERT_TRUE(probe.waitForFinished());
    ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().constData();
    const QString expected = m_directory.filePath(QStringLiteral("Local AppWizard-Generated Applications/RPN.ini"));

    QFile file(expected);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[KelRPN8]"));
    EXPECT_TRUE(text.contains("RegX=3.333333e-01"));
    EXPECT_TRUE(text.contains("SuperMode=\" \""));

    probe.start(QStringLiteral(RPN_PROFILE_STORE_PROBE), {QStringLiteral("load")});
    ASSERT_TRUE(probe.waitForFinished());
    EXPECT_EQ(probe.readAllStandardOutput().trimmed(), QByteArray("complete 3.333333e-01 4"));
}

}  // namespace
}  // namespace rpn
