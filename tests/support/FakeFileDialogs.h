#pragma once

#include "platform/FileDialogs.h"

#include <deque>
#include <vector>

namespace corvanta::test {

// Answers open-file dialogs from a script and records what each was asked to show.
class FakeFileDialogs : public FileDialogs
{
public:
    std::vector<OpenFileRequest> requests;
    std::deque<QStringList> choices; // next dialogs' answers; when empty: cancelled

    QStringList getOpenFileNames(const OpenFileRequest &request) override
    {
        requests.push_back(request);
        if (choices.empty())
            return {};
        QStringList chosen = choices.front();
        choices.pop_front();
        return chosen;
    }
};

} // namespace corvanta::test
