#include "persist/settings.h"

#include "display/format.h"
#include "engine/number_text.h"
#include "persist/persisted_fields.h"

namespace rpn {

namespace {

// An empty settings text reads as absent, hence the placeholder for the four
// texts that may be empty.
constexpr wchar_t kEmptyPlaceholder[] = L" ";

struct EntryLoader {
    ProfileStore& store;
    CalcState& state;
    const PersistedField& field;

    bool operator()(bool CalcState::*member) const
    {
        const std::int32_t value = store.GetProfileInt(kSettingsSection, field.entry, field.absentValue);
        if (value == field.absentValue)
            return false;
        state.*member = value != 0;
        return true;
    }
    bool operator()(std::int32_t CalcState::*member) const
    {
        const std::int32_t value = store.GetProfileInt(kSettingsSection, field.entry, field.absentValue);
        if (value == field.absentValue)
            return false;
        state.*member = value;
        return true;
    }
    bool operator()(double CalcState::*member) const { return Number(state.*member); }
    bool operator()(StorageRegister reg) const { return Number(state.RegS[reg.index]); }
    bool operator()(std::wstring CalcState::*member) const
    {
        std::wstring text = store.GetProfileString(kSettingsSection, field.entry);
        if (text.empty())
            return false;
        if (field.spaceWhenEmpty && text == kEmptyPlaceholder)
            text.clear();
        state.*member = std::move(text);
        return true;
    }

    bool Number(double& value) const
    {
        const std::wstring text = store.GetProfileString(kSettingsSection, field.entry);
        if (text.empty())
            return false;
        value = ParseLeadingNumber(text);
        return true;
    }
};

struct EntryWriter {
    ProfileStore& store;
    const CalcState& state;
    const PersistedField& field;

    void operator()(bool CalcState::*member) const
    {
        store.WriteProfileInt(kSettingsSection, field.entry, state.*member ? 1 : 0);
    }
    void operator()(std::int32_t CalcState::*member) const
    {
        store.WriteProfileInt(kSettingsSection, field.entry, state.*member);
    }
    void operator()(double CalcState::*member) const
    {
        store.WriteProfileString(kSettingsSection, field.entry, RegisterText(state.*member));
    }
    void operator()(StorageRegister reg) const
    {
        store.WriteProfileString(kSettingsSection, field.entry, RegisterText(state.RegS[reg.index]));
    }
    void operator()(std::wstring CalcState::*member) const
    {
        const std::wstring& text = state.*member;
        store.WriteProfileString(kSettingsSection, field.entry,
                                 field.spaceWhenEmpty && text.empty() ? std::wstring(kEmptyPlaceholder) : text);
    }
};

}  // namespace

bool LoadSettings(CalcState& state, ProfileStore& store)
{
    for (const PersistedField& field : kPersistedFields)
        if (!std::visit(EntryLoader{store, state, field}, field.member))
            return false;
    UpdateDisplay(state);
    return true;
}

bool SaveSettings(const CalcState& state, ProfileStore& store)
{
    for (const std::size_t index : kSettingsSaveOrder) {
        const PersistedField& field = kPersistedFields[index];
        std::visit(EntryWriter{store, state, field}, field.member);
    }
    return store.Flush();
}

}  // namespace rpn
