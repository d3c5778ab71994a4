#include "face/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QMenu>
#include <QPointer>
#include <vector>

#include "face/command_ids.h"
#include "face/register_menus.h"
#include "face/rpn_view.h"
#include "face/screen_reader_announcement.h"
#include "face/spoken_words.h"
#include "keypad/keypad.h"
#include "platform/qt/menu_actions.h"

namespace rpn {

namespace {

constexpr int kUnusedKeyCode = kKeyEnterLowerHalf;
// The display window of the face, in face pixels.
constexpr KeyRectangle kDisplayRectangle{17, 11, 223, 68};

QString Spoken(const std::wstring& words)
{
    return QString::fromStdWString(words);
}

// The display is child 0; the 29 keys follow in code order, without 26.
int ChildIndexOfKey(int code)
{
    if (code < 1 || code > kKeyCount || code == kUnusedKeyCode)
        return -1;
    return code < kUnusedKeyCode ? code : code - 1;
}

QRect ScreenRectangle(const CRPNView& view, const KeyRectangle& face)
{
    const QPoint topLeft = view.WidgetPoint(QPoint(face.left, face.top));
    const QPoint bottomRight = view.WidgetPoint(QPoint(face.right - 1, face.bottom - 1));
    return QRect(view.mapToGlobal(topLeft), view.mapToGlobal(bottomRight));
}

// An object without children whose texts are not to be set.
class AccessibleLeaf : public QAccessibleInterface {
public:
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

class AccessibleViewPart : public AccessibleLeaf {
public:
    explicit AccessibleViewPart(CRPNView* view) : m_view(view) {}

    bool isValid() const override { return !m_view.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }

protected:
    QPointer<CRPNView> m_view;
};

class AccessibleKey final : public AccessibleViewPart, public QAccessibleActionInterface {
public:
    AccessibleKey(CRPNView* view, int code) : AccessibleViewPart(view), m_code(code) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
            case QAccessible::Name:
                return Spoken(KeyName(m_code));
            default:
                return {};
        }
    }
    QRect rect() const override { return m_view ? ScreenRectangle(*m_view, KeyRect(m_code)) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!m_view)
            return state;
        state.pressed = m_view->State().KeyCode == m_code;
        // Every key takes the keyboard focus, shown as the ring on the face.
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->FocusedKey() == m_code;
        if (m_code == kKeyF) {
            state.checkable = true;
            state.checked = m_view->State().FunctionMode;
        }
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    // Pressing the button is a tap on its key, so the click and the display
    // behave as for the mouse; the focus ring stays.
    void doAction(const QString& name) override
    {
        if (m_view && name == pressAction())
            m_view->TapKey(m_code);
    }

private:
    int m_code;
};

class AccessibleDisplay final : public AccessibleViewPart, public QAccessibleTextInterface {
public:
    using AccessibleViewPart::AccessibleViewPart;

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        if (!m_view)
            return {};
        switch (t) {
            case QAccessible::Name:
                return QStringLiteral("Display");
            case QAccessible::Value:
                return Spoken(DisplayReading(m_view->State()));
            case QAccessible::Description:
                return Spoken(StackReading(m_view->State()));
            default:
                return {};
        }
    }
    QRect rect() const override { return m_view ? ScreenRectangle(*m_view, kDisplayRectangle) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }

    // The text interface reads the same words as the value, for screen
    // readers that read static text through it.
    QString text(int startOffset, int endOffset) const override
    {
        return Reading().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Reading().size()); }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        return {};
    }

private:
    QString Reading() const { return text(QAccessible::Value); }
};

class AccessibleView final : public QAccessibleWidget {
public:
    explicit AccessibleView(CRPNView* view) : QAccessibleWidget(view, QAccessible::Grouping)
    {
        new DisplayAnnouncer(
            *view, [](QAccessibleEvent& event) { QAccessible::updateAccessibility(&event); }, AnnounceToScreenReader);
    }
    ~AccessibleView() override
    {
        for (const QAccessible::Id id : m_childIds)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
            case QAccessible::Name:
                return QStringLiteral("RPN calculator");
            case QAccessible::Description:
                return Spoken(DisplayReading(View().State()));
            default:
                return QAccessibleWidget::text(t);
        }
    }
    int childCount() const override { return kKeyCount; }
    QAccessibleInterface* focusChild() const override
    {
        if (View().hasFocus() && View().FocusedKey() != 0)
            return child(ChildIndexOfKey(View().FocusedKey()));
        return QAccessibleWidget::focusChild();
    }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return QAccessible::accessibleInterface(ChildIds()[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (int index = 0; index < childCount(); ++index)
            if (this->child(index) == child)
                return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint face = View().FacePoint(View().mapFromGlobal(QPointF(x, y)));
        if (kDisplayRectangle.Contains(face.x(), face.y()))
            return child(0);
        return child(ChildIndexOfKey(HitTest(face.x(), face.y())));
    }

private:
    const CRPNView& View() const { return *static_cast<const CRPNView*>(widget()); }

    // Qt makes the view's interface at its first show whether or not anything
    // will read it, so the thirty parts are made when first asked for.
    const std::vector<QAccessible::Id>& ChildIds() const
    {
        if (m_childIds.empty()) {
            auto* view = static_cast<CRPNView*>(widget());
            m_childIds.push_back(QAccessible::registerAccessibleInterface(new AccessibleDisplay(view)));
            for (int code = 1; code <= kKeyCount; ++code)
                if (code != kUnusedKeyCode)
                    m_childIds.push_back(QAccessible::registerAccessibleInterface(new AccessibleKey(view, code)));
        }
        return m_childIds;
    }

    mutable std::vector<QAccessible::Id> m_childIds;
};

// An item of the STO and RCL menus as the menu's own items are, but named
// with its register and number in words ("store in register 4: 5.000000
// times ten to the 0") while the menu draws its caption.
class AccessibleRegisterItem final : public AccessibleLeaf, public QAccessibleActionInterface {
public:
    AccessibleRegisterItem(QAction* action, QMenu* menu) : m_action(action), m_menu(menu) {}

    bool isValid() const override { return m_action && m_menu; }
    QObject* object() const override { return m_action; }
    QWindow* window() const override { return m_menu ? m_menu->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_menu.data()); }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !m_action)
            return {};
        return Spoken(RegisterItemName(QString(m_action->text()).remove(QLatin1Char('&')).toStdWString()));
    }
    QRect rect() const override
    {
        return m_menu ? m_menu->actionGeometry(m_action).translated(m_menu->mapToGlobal(QPoint(0, 0))) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::MenuItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !m_menu || !m_menu->isVisible();
        state.focused = m_menu && m_menu->activeAction() == m_action;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override
    {
        if (m_action && name == pressAction())
            m_action->trigger();
    }

private:
    QPointer<QAction> m_action;
    QPointer<QMenu> m_menu;
};

}  // namespace

QAccessibleInterface* CalculatorAccessibleFactory(const QString&, QObject* object)
{
    if (auto* view = dynamic_cast<CRPNView*>(object))
        return new AccessibleView(view);
    // The register items: STO 1 is command 1, the others run from RCL 0 to STO 9.
    const int id = qobject_cast<QAction*>(object) ? CommandId(*static_cast<QAction*>(object)) : 0;
    if (id == command::StoreRegister1 || (id >= command::RecallRegister0 && id <= StoreCommandId(9)))
        if (auto* menu = qobject_cast<QMenu*>(object->parent()))
            return new AccessibleRegisterItem(static_cast<QAction*>(object), menu);
    return nullptr;
}

void InstallCalculatorAccessibility()
{
    QAccessible::installFactory(CalculatorAccessibleFactory);
}

DisplayAnnouncer::DisplayAnnouncer(CRPNView& view, Notify notify, Announce announce, Listening listening)
    : QObject(&view),
      m_view(view),
      m_notify(std::move(notify)),
      m_announce(std::move(announce)),
      m_listening(std::move(listening))
{
    if (!m_listening)
        m_listening = [] { return QAccessible::isActive(); };
    view.installEventFilter(this);
    view.SetKeyObserver(this, this);
}

// Only notes what the display read before a key, for the text update that
// follows it: a menu command may have changed it since the last key.
bool DisplayAnnouncer::eventFilter(QObject* watched, QEvent* event)
{
    const bool release = event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease;
    if (watched == &m_view && release && m_listening())
        m_lastReading = Spoken(DisplayReading(m_view.State()));
    return false;
}

void DisplayAnnouncer::KeyPerformed()
{
    if (!m_listening()) {
        m_lastReading.reset();
        return;
    }
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&m_view);
    QAccessibleInterface* display = view ? view->child(0) : nullptr;
    if (!display)
        return;
    const QString reading = Spoken(DisplayReading(m_view.State()));
    QAccessibleTextUpdateEvent textEvent(display, 0, m_lastReading.value_or(reading), reading);
    m_notify(textEvent);
    QAccessibleInterface* focused = view->focusChild();
    m_announce(focused ? focused : view, reading);
    m_lastReading = reading;
}

void DisplayAnnouncer::FocusMoved()
{
    if (!m_listening())
        return;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&m_view);
    QAccessibleInterface* key = view ? view->focusChild() : nullptr;
    if (!key || key == view)
        return;
    QAccessibleEvent focusEvent(key, QAccessible::Focus);
    m_notify(focusEvent);
}

void DisplayAnnouncer::CommandDone(const std::wstring& saying)
{
    if (!m_listening())
        return;
    // Once the menu has closed and the face has the keyboard again.
    QMetaObject::invokeMethod(
        this,
        [this, saying = Spoken(saying)] {
            QAccessibleInterface* view = QAccessible::queryAccessibleInterface(&m_view);
            if (!view)
                return;
            QAccessibleInterface* focused = view->focusChild();
            m_announce(focused ? focused : view,
                       saying + QStringLiteral(", ") + Spoken(DisplayReading(m_view.State())));
        },
        Qt::QueuedConnection);
}

}  // namespace rpn
