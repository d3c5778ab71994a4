#include "face/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <array>
#include <cwctype>
#include <memory>
#include <vector>

#include "display/format.h"
#include "face/rpn_view.h"
#include "face/screen_reader_announcement.h"
#include "keypad/keypad.h"

namespace rpn {

namespace {

constexpr int kUnusedKeyCode = kKeyEnterLowerHalf;
// The display window of the face, in face pixels.
constexpr KeyRectangle kDisplayRectangle{17, 11, 223, 68};

// What each key does, in words, in key-code order: primary, then shifted.
constexpr std::array<std::pair<const char*, const char*>, kKeyCount> kSpokenKeys{{
    {"e to the x", "natural logarithm"},
    {"ten to the x", "common logarithm"},
    {"sine", "arc sine"},
    {"cosine", "arc cosine"},
    {"tangent", "arc tangent"},
    {"reciprocal", "y to the x"},
    {"square root", "x squared"},
    {"enter exponent", "pi"},
    {"seven", "fixed-point display"},
    {"eight", "scientific display"},
    {"nine", "engineering display"},
    {"divide", "percent"},
    {"swap x and y", "roll down"},
    {"change sign", "roll up"},
    {"four", "degrees"},
    {"five", "radians"},
    {"six", "grads"},
    {"multiply", "factorial"},
    {"last x", "hyperbolic"},
    {"enter", "random number"},
    {"one", "to polar"},
    {"two", "to rectangular"},
    {"three", "to degrees"},
    {"subtract", "to radians"},
    {"shift, for the yellow functions", ""},
    {"", ""},
    {"zero", "store"},
    {"decimal point", "recall"},
    {"backspace", "clear x"},
    {"add", "clear all"},
}};

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsDigit(wchar_t character)
{
    return character >= L'0' && character <= L'9';
}

// The codes of the 29 keys in the order the children are numbered, after
// the display.
const std::vector<int>& KeyCodes()
{
    static const std::vector<int> codes = [] {
        std::vector<int> list;
        for (int code = 1; code <= kKeyCount; ++code)
            if (code != kUnusedKeyCode)
                list.push_back(code);
        return list;
    }();
    return codes;
}

// The index of a key's child in the view, after the display; -1 for none.
int ChildIndexOfKey(int code)
{
    const std::vector<int>& codes = KeyCodes();
    for (std::size_t index = 0; index < codes.size(); ++index)
        if (codes[index] == code)
            return static_cast<int>(index) + 1;
    return -1;
}

QRect ScreenRectangle(const CRPNView& view, const KeyRectangle& face)
{
    const QPoint topLeft = view.WidgetPoint(QPoint(face.left, face.top));
    const QPoint bottomRight = view.WidgetPoint(QPoint(face.right - 1, face.bottom - 1));
    return QRect(view.mapToGlobal(topLeft), view.mapToGlobal(bottomRight));
}

class AccessibleViewPart : public QAccessibleInterface {
public:
    explicit AccessibleViewPart(CRPNView* view) : m_view(view) {}

    bool isValid() const override { return !m_view.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}

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
                return KeyName(m_code);
            case QAccessible::Description:
                return KeyDescription(m_code);
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
    // Pressing the button is a tap on its key, through the same pen-down and
    // pen-up steps, so the click and the display behave as for the mouse.
    void doAction(const QString& name) override
    {
        if (!m_view || name != pressAction())
            return;
        const KeyRectangle key = KeyRect(m_code);
        const QPointF point = m_view->WidgetPoint(QPoint((key.left + key.right) / 2, (key.top + key.bottom) / 2));
        const QPointF global = m_view->mapToGlobal(point);
        QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view.data(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view.data(), &release);
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
                return DisplayReading(m_view->State());
            case QAccessible::Description:
                return StackReading(m_view->State());
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
                return DisplayReading(View().State());
            default:
                return QAccessibleWidget::text(t);
        }
    }
    int childCount() const override { return 1 + static_cast<int>(KeyCodes().size()); }
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
            for (const int code : KeyCodes())
                m_childIds.push_back(QAccessible::registerAccessibleInterface(new AccessibleKey(view, code)));
        }
        return m_childIds;
    }

    mutable std::vector<QAccessible::Id> m_childIds;
};

}  // namespace

QString SpokenNumber(const std::wstring& shown)
{
    std::wstring text = shown;
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    const std::size_t n = text.size();
    // The exponent takes the last three cells: its sign (blank or minus) and
    // two digits, right after a mantissa digit, point or blank.
    const bool exponent = n >= 5 && (text[n - 3] == L' ' || text[n - 3] == L'-') && IsDigit(text[n - 2]) &&
                          IsDigit(text[n - 1]) && (IsDigit(text[n - 4]) || text[n - 4] == L'.' || text[n - 4] == L' ');
    std::wstring mantissa = exponent ? text.substr(0, n - 3) : text;
    const std::size_t first = mantissa.find_first_not_of(L' ');
    const std::size_t last = mantissa.find_last_not_of(L' ');
    mantissa = first == std::wstring::npos ? L"" : mantissa.substr(first, last - first + 1);

    QString spoken = QString::fromStdWString(mantissa);
    if (spoken.startsWith(QLatin1Char('-')))
        spoken = QStringLiteral("minus ") + spoken.mid(1);
    if (exponent) {
        const int power = (text[n - 2] - L'0') * 10 + (text[n - 1] - L'0');
        spoken += QStringLiteral(" times ten to the ");
        if (text[n - 3] == L'-')
            spoken += QStringLiteral("minus ");
        spoken += QString::number(power);
    }
    return spoken;
}

QString DisplayReading(const CalcState& state)
{
    // An error reads as it is shown.
    const bool error =
        state.DisplayText == kErrorNaN || state.DisplayText == kErrorInf || state.DisplayText == kErrorOverflow;
    QString reading = error ? QString::fromStdWString(state.DisplayText) : SpokenNumber(DrawnMainLine(state));
    reading += QStringLiteral(", %1 %2, %3")
                   .arg(QString::fromStdWString(state.DisplayMode))
                   .arg(EffectivePrecision(state))
                   .arg(QString::fromStdWString(state.AngleMode));
    if (state.FunctionMode)
        reading += QStringLiteral(", F pending");
    if (!state.SuperMode.empty())
        reading += QStringLiteral(", %1 pending").arg(QString::fromStdWString(state.SuperMode));
    return reading;
}

QString StackReading(const CalcState& state)
{
    return QStringLiteral("Y %1, Z %2, T %3")
        .arg(SpokenNumber(StackLineText(state, state.RegY)), SpokenNumber(StackLineText(state, state.RegZ)),
             SpokenNumber(StackLineText(state, state.RegT)));
}

QString KeyName(int code)
{
    if (code < 1 || code > kKeyCount || code == kUnusedKeyCode)
        return {};
    const KeyInfo& key = kKeyTable[static_cast<std::size_t>(code - 1)];
    if (key.shifted.empty())
        return FromUtf8(key.primary);
    return FromUtf8(key.primary) + QStringLiteral(", shifted: ") + FromUtf8(key.shifted);
}

QString KeyDescription(int code)
{
    if (code < 1 || code > kKeyCount || code == kUnusedKeyCode)
        return {};
    const auto& [primary, shifted] = kSpokenKeys[static_cast<std::size_t>(code - 1)];
    if (*shifted == '\0')
        return QString::fromUtf8(primary);
    return QString::fromUtf8(primary) + QStringLiteral("; shifted: ") + QString::fromUtf8(shifted);
}

QAccessibleInterface* CalculatorAccessibleFactory(const QString&, QObject* object)
{
    if (auto* view = dynamic_cast<CRPNView*>(object))
        return new AccessibleView(view);
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
        m_lastReading = DisplayReading(m_view.State());
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
    const QString reading = DisplayReading(m_view.State());
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

}  // namespace rpn
