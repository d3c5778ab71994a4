#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

#include "face/face_bitmaps.h"
#include "face/view_document.h"
#include "keypad/keypad.h"

class QMenu;

namespace rpn {

class ClickSound;
class CommandTable;

// Told what the view did with the keyboard and the stylus, for assistive
// technology. The observer is called synchronously and must not change the
// view.
class KeyObserver {
public:
    virtual ~KeyObserver() = default;
    // After a key was performed: tapped, typed, or pressed through the
    // keyboard focus.
    virtual void KeyPerformed() = 0;
    // After the keyboard focus moved to another key of the face.
    virtual void FocusMoved() = 0;
    // After a menu command, what it did in words ("stored in register 4").
    virtual void CommandDone(const std::wstring& saying) = 0;
};

// The calculator face on the screen: the pressed key, the display strip,
// taps and keyboard releases. The face is shown scaled uniformly to the
// widget, centred, and composed (face, pressed key from picture 141, focus
// ring, display) in a back buffer at the screen's resolution; a paint
// composes only the part it was asked for, and taps are mapped back to face
// pixels. The painting is in rpn_view_painting.cpp.
class CRPNView final : public QWidget, public DocumentView {
public:
    CRPNView(ViewDocument& document, FacePictures pictures, ClickSound& click, QWidget* parent = nullptr);

    // The view handles the Brightness commands 32798..32806.
    void RegisterCommands(CommandTable& table);
    // The submenu whose items carry the brightness radio mark; it may come
    // and go, the view never owns it.
    void SetBrightnessMenu(QMenu* menu);
    // Called once, after the view's first frame has gone to the screen: the
    // work a start defers until the window shows.
    void SetFirstFrameHook(std::function<void()> hook) { m_firstFrameHook = std::move(hook); }

    void OnInitialUpdate() override;
    void OnUpdate() override;
    void OnCommandDone(const std::wstring& saying) override;
    void ApplyBrightness(int id);

    // The whole face composed now, as a paint at one device pixel per face
    // pixel shows it.
    QImage ComposeBackBuffer() const;
    const QImage& FaceBitmap() const { return m_bitmaps.Face(); }
    // The document's state, for the accessible interfaces that read it.
    const CalcState& State() const { return m_document.State(); }

    static constexpr QRect kWholeFace{0, 0, kFaceWidth, kFaceHeight};

    // The key the keyboard focus is on, drawn with a ring: 0 until Tab,
    // Shift+Tab, an arrow or P shows it, and again once the mouse is used.
    int FocusedKey() const { return m_focusedKey; }
    // The observer, which is not owned: it is told nothing once `owner` is
    // gone, whichever of the two is destroyed first. Null for none.
    void SetKeyObserver(KeyObserver* observer, QObject* owner)
    {
        m_keyObserver = observer;
        m_keyObserverOwner = owner;
    }

    // A tap on the middle of a key, as the stylus would make it.
    void TapKey(int code);

    // The face pixel under a point of the widget, and the widget point at
    // the centre of a face pixel.
    QPoint FacePoint(QPointF widgetPoint) const;
    QPoint WidgetPoint(QPoint facePoint) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void NotePress(const QKeyEvent& event);
    void SetBrightness(int brightness);
    void MarkBrightnessItem(int brightness);
    // Composes the part of the face inside `area` (face pixels); the rest of
    // the target keeps what an earlier composition left there.
    void Compose(QImage& target, qreal scale, const QRect& area = kWholeFace) const;
    // Once the first frame is out: the hook.
    void FirstPaintDone();
    // A key's rectangle on the face, and the rectangle its focus ring covers.
    static QRect KeyArea(int code);
    static QRect FocusRingArea(int code);
    // Asks for a repaint of a rectangle of the face.
    void UpdateFaceRect(const QRect& area);
    void PenDown(QPoint facePoint);
    void PenUp(QPoint facePoint);
    // To a place of the keypad's focus moves, showing the ring there.
    void MoveFocusTo(int place);
    // The ring goes; the focus moves on from its place when it comes back.
    void HideFocusRing();
    void NotifyKeyPerformed();
    KeyObserver* Observer() const { return m_keyObserverOwner ? m_keyObserver : nullptr; }
    qreal FaceScale() const;
    QPointF FaceOrigin() const;

    ViewDocument& m_document;
    ClickSound& m_click;
    FaceBitmaps m_bitmaps;
    // The face as last composed, one pixel per device pixel.
    QImage m_backBuffer;
    QPointer<QMenu> m_brightnessMenu;
    std::function<void()> m_firstFrameHook;
    // Keys whose press reached the view, with what each typed; only their
    // releases are performed.
    using PressedKeys = std::map<quint32, char32_t>;
    PressedKeys m_pressedKeys;
    int m_focusedKey = 0;
    // Where the focus moves from, kept while the ring is hidden.
    int m_focusPlace = 0;
    KeyObserver* m_keyObserver = nullptr;
    QPointer<QObject> m_keyObserverOwner;
};

}  // namespace rpn
