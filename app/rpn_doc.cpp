#include "app/rpn_doc.h"

#include <algorithm>

#include "engine/dispatch.h"
#include "face/command_ids.h"
#include "face/menu_commands.h"
#include "face/register_menus.h"
#include "face/spoken_words.h"
#include "keypad/keypad.h"
#include "persist/clipboard_commands.h"
#include "persist/settings.h"
#include "persist/state_file.h"
#include "platform/command_table.h"
#include "platform/qt/menu_actions.h"
#include "platform/recent_files.h"

namespace rpn {

namespace {

// Passes each path on and remembers the last one, so the document learns
// which file Load State chose.
class RememberingRecentFiles final : public RecentFiles {
public:
    explicit RememberingRecentFiles(RecentFiles& list) : m_list(list) {}
    void Add(const std::wstring& path) override
    {
        m_last = path;
        m_list.Add(path);
    }
    const std::optional<std::wstring>& Last() const { return m_last; }

private:
    RecentFiles& m_list;
    std::optional<std::wstring> m_last;
};

}  // namespace

CRPNDoc::CRPNDoc(DocumentServices services) : m_state(MakeResetState()), m_services(services) {}

void CRPNDoc::RegisterCommands(CommandTable& table)
{
    table.Register(command::SaveState, [this] { OnSaveState(); });
    table.Register(command::LoadState, [this] { OnLoadState(); });
    table.Register(command::FileSave, [this] { OnFileSave(); });
    table.Register(command::ResetState, [this] { OnResetState(); });
    table.Register(command::AudibleClicks, [this] { OnAudibleClicks(); });
    table.RegisterUpdate(command::AudibleClicks, [this](CmdUI& item) { OnUpdateAudibleClicks(m_state, item); });
    table.Register(command::EditCopy, [this] { OnEditCopy(); });
    table.Register(command::EditCut, [this] { OnEditCut(); });
    table.Register(command::EditPaste, [this] { OnEditPaste(); });
    table.RegisterUpdate(command::EditPaste, [this](CmdUI& item) {
        if (const std::optional<bool> enabled = OnUpdateEditPaste(m_services.clipboard))
            item.Enable(*enabled);
    });
    for (int number = 0; number < kRegisterCount; ++number) {
        table.Register(StoreCommandId(number), [this, number] { OnStoreRegister(number); });
        table.Register(RecallCommandId(number), [this, number] { OnRecallRegister(number); });
        table.RegisterUpdate(StoreCommandId(number),
                             [this, number](CmdUI& item) { OnUpdateStoreRegister(m_state, number, item); });
        table.RegisterUpdate(RecallCommandId(number),
                             [this, number](CmdUI& item) { OnUpdateRecallRegister(m_state, number, item); });
    }
}

void CRPNDoc::AddView(DocumentView& view)
{
    m_views.push_back(&view);
}

void CRPNDoc::RemoveView(DocumentView& view)
{
    std::erase(m_views, &view);
}

bool CRPNDoc::OnNewDocument()
{
    m_state.Brightness = 0;
    ResetState(m_state);
    LoadSettings(m_state, m_services.profile);
    return true;
}

bool CRPNDoc::OnOpenDocument(const std::wstring& path)
{
    if (ReadStateFile(m_state, path, m_services.files, m_services.dialogs))
        m_stateFilePath = path;
    return true;
}

void CRPNDoc::OnCloseDocument()
{
    SaveSettings(m_state, m_services.profile);
}

void CRPNDoc::UpdateAllViews()
{
    for (DocumentView* view : m_views)
        view->OnUpdate();
}

void CRPNDoc::InitialUpdateAllViews()
{
    for (DocumentView* view : m_views)
        view->OnInitialUpdate();
}

void CRPNDoc::DispatchKey()
{
    rpn::DispatchKey(m_state, m_random);
}

void CRPNDoc::KeyboardKey(int virtualKey)
{
    rpn::KeyboardKey(m_state, virtualKey, m_random);
    UpdateAllViews();
}

void CRPNDoc::OnSaveState()
{
    if (std::optional<std::wstring> path =
            rpn::OnSaveState(m_state, m_services.dialogs, m_services.recentFiles, m_services.files))
        m_stateFilePath = std::move(path);
}

void CRPNDoc::OnLoadState()
{
    RememberingRecentFiles recentFiles(m_services.recentFiles);
    if (!rpn::OnLoadState(m_state, m_services.dialogs, recentFiles, m_services.files))
        return;
    m_stateFilePath = recentFiles.Last();
    UpdateAllViews();
}

void CRPNDoc::OnFileSave()
{
    if (!m_stateFilePath) {
        OnSaveState();
        return;
    }
    WriteStateFile(m_state, *m_stateFilePath, m_services.files, m_services.dialogs);
}

void CRPNDoc::OnResetState()
{
    rpn::OnResetState(m_state);
    UpdateAllViews();
}

void CRPNDoc::OnAudibleClicks()
{
    rpn::OnAudibleClicks(m_state);
}

void CRPNDoc::OnEditCopy()
{
    rpn::OnEditCopy(m_state, m_services.clipboard);
}

void CRPNDoc::OnEditCut()
{
    rpn::OnEditCut(m_state, m_services.clipboard);
    UpdateAllViews();
}

void CRPNDoc::OnEditPaste()
{
    if (rpn::OnEditPaste(m_state, m_services.clipboard, m_services.dialogs))
        UpdateAllViews();
}

void CRPNDoc::OnStoreRegister(int registerNumber)
{
    rpn::OnStoreRegister(m_state, registerNumber);
    UpdateAllViews();
    for (DocumentView* view : m_views)
        view->OnCommandDone(StoredSaying(registerNumber));
}

void CRPNDoc::OnRecallRegister(int registerNumber)
{
    rpn::OnRecallRegister(m_state, registerNumber);
    UpdateAllViews();
    for (DocumentView* view : m_views)
        view->OnCommandDone(RecalledSaying(registerNumber));
}

}  // namespace rpn
