#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "persist/settings.h"
#include "platform/qt/profile_store.h"
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
    WriteIni("[KelRPN8]\nA=abc\nB=12abc\nC=99999999999\nD=\nE= 42\nF=-7\nG=\"1,5\"\nH=1,5\n");
    QtProfileStore store(IniPath());
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"A", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"B", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"C", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"D", -9), -9);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"E", -9), 42);
    EXPECT_EQ(store.GetProfileInt(L"KelRPN8", L"F", -9), -7);
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
    EXPECT_EQ(QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed(), expected);

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
