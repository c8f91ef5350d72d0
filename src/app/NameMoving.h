#pragma once

#include "app/FeatureContext.h"

namespace corvanta {

// Moves a project or topic name to another row by cutting it to the clipboard and pasting it
// back; the paste writes the list in its new order. A pasted name follows the rules of a typed
// one, and a cut name stays pending until it is pasted or its list is read again.
class NameMoving {
public:
    explicit NameMoving(const FeatureContext &context);

    void CutProjectName();
    void PasteProjectName(bool atRow);
    void CutTopicName();
    void PasteTopicName(bool atRow);

private:
    FeatureContext c;

    QString nameToPaste(const QString &cutName, bool project);
};

} // namespace corvanta
