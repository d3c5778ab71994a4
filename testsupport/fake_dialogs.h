#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/recent_files.h"

namespace rpn::test {

// Dialogs with answers set before the test runs, so nothing modal can block.
// A file dialog with no answer left counts as cancelled.
class FakeDialogs final : public Dialogs {
public:
    std::optional<std::wstring> AskFileName(const FileDialogRequest& request) override;
    void ShowMessage(std::wstring_view text) override { m_messages.emplace_back(text); }
    void ShowAbout() override { ++m_aboutBoxes; }

    void AnswerFileName(std::wstring path) { m_answers.emplace_back(std::move(path)); }
    void AnswerCancel() { m_answers.emplace_back(std::nullopt); }

    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }
    const std::vector<std::wstring>& Messages() const { return m_messages; }
    int AboutBoxes() const { return m_aboutBoxes; }

private:
    std::deque<std::optional<std::wstring>> m_answers;
    std::vector<FileDialogRequest> m_requests;
    std::vector<std::wstring> m_messages;
    int m_aboutBoxes = 0;
};

// Records the paths added, and runs an optional probe at each Add so a test
// can see what had happened by then.
class FakeRecentFiles final : public RecentFiles {
public:
    void Add(const std::wstring& path) override
    {
        m_paths.push_back(path);
        if (m_onAdd)
            m_onAdd(path);
    }

    void OnAdd(std::function<void(const std::wstring&)> probe) { m_onAdd = std::move(probe); }
    const std::vector<std::wstring>& Paths() const { return m_paths; }

private:
    std::vector<std::wstring> m_paths;
    std::function<void(const std::wstring&)> m_onAdd;
};

}  // namespace rpn::test
