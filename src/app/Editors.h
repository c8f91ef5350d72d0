#pragma once

#include "app/SharedState.h"

#include <QString>

namespace corvanta {

// What a caller opens the pointer editor for.
struct EditorRequest
{
    EditorMode mode = EditorMode::Website;
};

// How the editor ended, and the name typed in a name dialog. The outcome never depends on the
// text typed: a project called "cancel" is a name like any other.
struct EditorResult
{
    enum class Outcome {
        Saved,     // a name handed back, or a pointer written
        Cancelled, // closed without a save (or a rename to the same name)
        CancelAll, // "Cancel All Selections": the caller's remaining items are skipped
    };
    Outcome outcome = Outcome::Cancelled;
    QString name; // name dialogs: the name typed, trimmed; otherwise the pointer's name
};

// The pointer editor as other features open it: modally, returning when it has closed.
class Editors
{
public:
    [[nodiscard]] virtual EditorResult showEditor(const EditorRequest &request) = 0;

protected:
    ~Editors() = default;
};

} // namespace corvanta
