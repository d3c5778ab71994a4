#pragma once

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/rpn_app.h"
#include "keypad/keypad.h"
#include "platform/profile_store.h"
#include "platform/qt/sound.h"
#include "testsupport/fake_clipboard.h"
#include "testsupport/fake_dialogs.h"
#include "testsupport/fake_file_system.h"
#include "testsupport/fake_profile_store.h"

namespace rpn::test {

class CountingClickSound final : public ClickSound {
public:
    void Play() override { ++m_plays; }
    int Plays() const { return m_plays; }

private:
    int m_plays = 0;
};

// The whole window over fakes (or a given profile store), shown offscreen.
class TestWindow {
public:
    // prepare runs before the start-up steps, to lay out files or answers.
    explicit TestWindow(ProfileStore* profile = nullptr, QStringList arguments = {QStringLiteral("rpn")},
                        const std::function<void(TestWindow&)>& prepare = {});

    CalcState& State() { return app->Document().State(); }
    CRPNView& View() { return app->View(); }
    CMainFrame& Frame() { return app->Frame(); }
    void Execute(int id) { app->Commands().Execute(id); }

    // Stylus actions at face points.
    void Down(QPoint face);
    void Up(QPoint face);
    void Tap(QPoint face);
    void TapKey(int code) { Tap(KeyCentre(code)); }
    void DoubleTapKey(int code);
    // Keys as the keyboard sends them: press, then release, to the view.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // The face as a whole repaint of the view shows it.
    QImage Paint();
    // The face as the window shows it now, after the paints so far.
    QImage Shown();

    static QPoint KeyCentre(int code);

    FakeProfileStore fakeProfile;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeFileSystem files;
    CountingClickSound click;
    std::unique_ptr<CRPNApp> app;
};

// A picture as the view holds it (5-5-5) and reads it back in 8-bit channels.
QImage AsShown(const QImage& picture);
FacePictures ResourcePictures();

}  // namespace rpn::test
