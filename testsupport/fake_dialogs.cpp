#include "testsupport/fake_dialogs.h"

namespace rpn::test {

std::optional<std::wstring> FakeDialogs::AskFileName(const FileDialogRequest& request)
{
    m_requests.push_back(request);
    if (m_answers.empty())
        return std::nullopt;
    auto answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

}  // namespace rpn::test
