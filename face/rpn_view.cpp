#include "face/rpn_view.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "display/render.h"
#include "face/command_ids.h"
#include "keypad/key_focus.h"
#include "keypad/keypad.h"
#include "keypad/virtual_keys.h"
#include "platform/command_table.h"
#include "platform/qt/menu_actions.h"
#include "platform/qt/sound.h"

namespace rpn {

namespace {

// The rows the display is drawn in, all that a key changes.
constexpr QRect kDisplayBand{0, 0, kFaceWidth, kDisplayStripBottom};

// The key that presses the focused key: Enter and Space belong to the
// keyboard table (ENTER and CHS).
constexpr int kPressFocusedKey = Qt::Key_P;
constexpr Qt::KeyboardModifiers kCommandModifiers = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The keyboard table knows the keys without a character by Qt's numbers.
static_assert(named_key::Escape == Qt::Key_Escape && named_key::Backspace == Qt::Key_Backspace &&
              named_key::Return == Qt::Key_Return && named_key::Enter == Qt::Key_Enter &&
              named_key::Delete == Qt::Key_Delete && Qt::Key_A == 'A' && Qt::Key_0 == '0');

std::optional<KeyDirection> ArrowDirection(int qtKey)
{
    switch (qtKey) {
        case Qt::Key_Left:
            return KeyDirection::Left;
        case Qt::Key_Right:
            return KeyDirection::Right;
        case Qt::Key_Up:
            return KeyDirection::Up;
        case Qt::Key_Down:
            return KeyDirection::Down;
        default:
            return std::nullopt;
    }
}

}  // namespace

CRPNView::CRPNView(ViewDocument& document, FacePictures pictures, ClickSound& click, QWidget* parent)
    : QWidget(parent), m_document(document), m_click(click), m_bitmaps(std::move(pictures))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CRPNView::RegisterCommands(CommandTable& table)
{
    for (int id = command::BrightnessFirst; id <= command::BrightnessLast; ++id)
        table.Register(id, [this, id] { ApplyBrightness(id); });
}

void CRPNView::SetBrightnessMenu(QMenu* menu)
{
    m_brightnessMenu = menu;
    MarkBrightnessItem(m_document.State().Brightness);
}

void CRPNView::OnInitialUpdate()
{
    OnUpdate();
}

void CRPNView::OnUpdate()
{
    SetBrightness(m_document.State().Brightness);
}

void CRPNView::OnCommandDone(const std::wstring& saying)
{
    if (KeyObserver* observer = Observer())
        observer->CommandDone(saying);
}

void CRPNView::ApplyBrightness(int id)
{
    SetBrightness(id - command::BrightnessZero);
}

void CRPNView::SetBrightness(int brightness)
{
    m_document.State().Brightness = brightness;
    // Marked every time, not only when the face changes: exactly one item
    // carries the mark whatever cleared it in between.
    MarkBrightnessItem(brightness);
    if (!m_bitmaps.SetBrightness(brightness)) {
        // Only the display can have changed.
        UpdateFaceRect(kDisplayBand);
        return;
    }
    update();
}

void CRPNView::MarkBrightnessItem(int brightness)
{
    if (!m_brightnessMenu)
        return;
    // A brightness the menu does not offer (an edited store) marks no item.
    const long long id = static_cast<long long>(brightness) + command::BrightnessZero;
    for (QAction* action : m_brightnessMenu->actions())
        action->setChecked(CommandId(*action) == id);
}

void CRPNView::UpdateFaceRect(const QRect& area)
{
    const qreal scale = FaceScale();
    update(QRectF(FaceOrigin() + QPointF(area.topLeft()) * scale, QSizeF(area.size()) * scale).toAlignedRect());
}

qreal CRPNView::FaceScale() const
{
    return std::max(std::min(width() / qreal(kFaceWidth), height() / qreal(kFaceHeight)), qreal(0.01));
}

QPointF CRPNView::FaceOrigin() const
{
    const qreal scale = FaceScale();
    return {(width() - kFaceWidth * scale) / 2, (height() - kFaceHeight * scale) / 2};
}

QPoint CRPNView::FacePoint(QPointF widgetPoint) const
{
    const QPointF face = (widgetPoint - FaceOrigin()) / FaceScale();
    return {static_cast<int>(std::floor(face.x())), static_cast<int>(std::floor(face.y()))};
}

QPoint CRPNView::WidgetPoint(QPoint facePoint) const
{
    const QPointF widget = FaceOrigin() + (QPointF(facePoint) + QPointF(0.5, 0.5)) * FaceScale();
    return {static_cast<int>(std::floor(widget.x())), static_cast<int>(std::floor(widget.y()))};
}

QSize CRPNView::sizeHint() const
{
    return {kFaceWidth, kFaceHeight};
}

QSize CRPNView::minimumSizeHint() const
{
    return {kFaceWidth, kFaceHeight};
}

void CRPNView::mousePressEvent(QMouseEvent* event)
{
    // Whoever uses the mouse does not follow the ring, which would only be
    // taken for a pressed key.
    HideFocusRing();
    if (event->button() == Qt::LeftButton)
        PenDown(FacePoint(event->position()));
}

void CRPNView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second tap of a double tap is an ordinary press.
    if (event->button() == Qt::LeftButton)
        PenDown(FacePoint(event->position()));
}

void CRPNView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        PenUp(FacePoint(event->position()));
}

void CRPNView::PenDown(QPoint facePoint)
{
    const int code = HitTest(facePoint.x(), facePoint.y());
    m_document.State().KeyCode = code;
    if (code != 0)
        UpdateFaceRect(KeyArea(code));
}

void CRPNView::PenUp(QPoint facePoint)
{
    CalcState& state = m_document.State();
    if (state.KeyCode != 0)
        UpdateFaceRect(KeyArea(state.KeyCode));
    const bool performed = HitTest(facePoint.x(), facePoint.y()) == state.KeyCode;
    if (performed) {
        if (state.KeyCode != 0 && state.bAudibleClicks)
            m_click.Play();
        m_document.DispatchKey();
    }
    state.KeyCode = 0;
    UpdateFaceRect(kDisplayBand);
    if (performed)
        NotifyKeyPerformed();
}

void CRPNView::TapKey(int code)
{
    const KeyRectangle key = KeyRect(code);
    const QPoint centre((key.left + key.right) / 2, (key.top + key.bottom) / 2);
    PenDown(centre);
    PenUp(centre);
}

void CRPNView::NotifyKeyPerformed()
{
    if (KeyObserver* observer = Observer())
        observer->KeyPerformed();
}

void CRPNView::HideFocusRing()
{
    if (m_focusedKey != 0)
        UpdateFaceRect(FocusRingArea(m_focusedKey));
    m_focusedKey = 0;
}

void CRPNView::MoveFocusTo(int place)
{
    m_focusPlace = place;
    const int code = KeyAtPlace(place);
    if (code == m_focusedKey)
        return;
    HideFocusRing();
    m_focusedKey = code;
    UpdateFaceRect(FocusRingArea(m_focusedKey));
    if (KeyObserver* observer = Observer())
        observer->FocusMoved();
}

// Tab and Shift+Tab walk the keys instead of leaving the face, which is the
// window's only place for the keyboard.
bool CRPNView::focusNextPrevChild(bool next)
{
    MoveFocusTo(KeyInTabOrder(m_focusPlace, next));
    return true;
}

namespace {

// The physical key where the platform names it, so that a press and its
// release match even when Shift changed in between.
quint32 KeyIdentity(const QKeyEvent& event)
{
    constexpr quint32 kQtKeyFlag = 0x80000000u;
    return event.nativeScanCode() != 0 ? event.nativeScanCode() : static_cast<quint32>(event.key()) | kQtKeyFlag;
}

}  // namespace

// A release counts only when its press came to the view without Alt: the
// Escape that closes a menu, the Enter that confirms a file dialog and the
// letter of an Alt access key all end with a release here that the user
// never meant for the calculator. Presses taken by a shortcut still count
// (they arrive as the shortcut override), so Shift+Delete cuts and then
// clears as Delete does. What the press typed is kept for the release, by
// when Shift may be up again: Shift+8 typed "*" whichever comes up first.
void CRPNView::NotePress(const QKeyEvent& event)
{
    const QString text = event.text();
    if (!event.modifiers().testFlag(Qt::AltModifier))
        m_pressedKeys[KeyIdentity(event)] = text.size() == 1 ? text.front().unicode() : 0;
}

bool CRPNView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride)
        NotePress(*static_cast<QKeyEvent*>(event));
    return QWidget::event(event);
}

void CRPNView::keyPressEvent(QKeyEvent* event)
{
    NotePress(*event);
    if (const auto direction = ArrowDirection(event->key()); direction && !(event->modifiers() & kCommandModifiers)) {
        MoveFocusTo(KeyInDirection(m_focusPlace, *direction));
        return;
    }
    QWidget::keyPressEvent(event);
}

void CRPNView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // The window's own focus report names the view; the key comes after it.
    if (m_focusedKey != 0 && Observer())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (KeyObserver* observer = Observer(); observer && hasFocus())
                    observer->FocusMoved();
            },
            Qt::QueuedConnection);
}

void CRPNView::focusOutEvent(QFocusEvent* event)
{
    m_pressedKeys.clear();
    QWidget::focusOutEvent(event);
}

void CRPNView::keyReleaseEvent(QKeyEvent* event)
{
    // Auto-repeat releases are not real releases.
    const auto press = event->isAutoRepeat() ? PressedKeys::node_type() : m_pressedKeys.extract(KeyIdentity(*event));
    if (press && !event->modifiers().testFlag(Qt::AltModifier)) {
        // P with no ring shows it where it was, or on the first key, so that
        // the key it presses is seen first.
        if (event->key() == kPressFocusedKey && !(event->modifiers() & kCommandModifiers)) {
            if (m_focusedKey != 0)
                TapKey(m_focusedKey);
            else
                MoveFocusTo(m_focusPlace != 0 ? m_focusPlace : KeyInTabOrder(0, true));
        }
        const int virtualKey = VirtualKeyFor(
            {event->key(), event->modifiers().testFlag(Qt::KeypadModifier), press.mapped(), event->nativeScanCode()});
        m_document.KeyboardKey(virtualKey);
        if (KeyCodeForVirtualKey(virtualKey) != 0 || virtualKey == vk::Delete || virtualKey == vk::Escape)
            NotifyKeyPerformed();
    }
    QWidget::keyReleaseEvent(event);
}

}  // namespace rpn
