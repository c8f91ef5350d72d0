#pragma once

#include "app/SharedState.h"

#include <QString>

namespace corvanta {

// What a caller opens the pointer editor for.
struct EditorRequest
{
    EditorRequest(EditorMode editorMode = EditorMode::Website) : mode(editorMode) {}
    EditorRequest(EditorMode editorMode, const QString &path, int selections, int row = -1)
        : mode(editorMode), addFilePath(path), addSelections(selections), insertRow(row)
    {
    }

    EditorMode mode = EditorMode::Website;
    QString addFilePath;   // AddFile: the file's path, shown as the pointer's target
    int addSelections = 0; // the items the caller's add loop works through; more than one
                           // offers "Cancel All Selections"
    int insertRow = -1;    // AddFile: the File List row a pointer inserted by name goes to;
                           // -1 for the row current when the editor opens
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
    bool insertName = false; // "Insert Name at Selected Row" was chosen when the editor closed
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
