#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/calc_state.h"
#include "engine/random_source.h"
#include "face/view_document.h"

namespace rpn {

class Clipboard;
class CommandTable;
class Dialogs;
class FileSystem;
class ProfileStore;
class RecentFiles;

// What the document reaches the desktop through; all owned by the caller
// and alive as long as the document.
struct DocumentServices {
    ProfileStore& profile;
    Clipboard& clipboard;
    Dialogs& dialogs;
    FileSystem& files;
    RecentFiles& recentFiles;
};

// The one document: the calculator state for the whole run, re-initialised
// in place by New and Open, and the handlers of the calculator's commands.
class CRPNDoc final : public ViewDocument {
public:
    explicit CRPNDoc(DocumentServices services);

    void RegisterCommands(CommandTable& table);
    void AddView(DocumentView& view);
    void RemoveView(DocumentView& view);

    // The framework's document steps. OnNewDocument brings back the state
    // saved at the last exit; OnOpenDocument reads a state file over the
    // current state and always succeeds (a failed read has shown its own
    // message); OnCloseDocument writes the settings.
    bool OnNewDocument();
    bool OnOpenDocument(const std::wstring& path);
    void OnCloseDocument();

    void UpdateAllViews();
    void InitialUpdateAllViews();

    CalcState& State() override { return m_state; }
    const CalcState& State() const { return m_state; }
    void DispatchKey() override;
    void KeyboardKey(int virtualKey) override;

    void OnSaveState();
    void OnLoadState();
    // Ctrl+S: writes the state file last loaded or saved, without asking;
    // asks like Save State while there is none.
    void OnFileSave();
    void OnResetState();
    void OnAudibleClicks();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnStoreRegister(int registerNumber);
    void OnRecallRegister(int registerNumber);

    const std::optional<std::wstring>& StateFilePath() const { return m_stateFilePath; }

private:
    CalcState m_state;
    StandardRandomSource m_random;
    DocumentServices m_services;
    std::vector<DocumentView*> m_views;
    std::optional<std::wstring> m_stateFilePath;
};

}  // namespace rpn
