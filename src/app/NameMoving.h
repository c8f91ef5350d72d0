#pragma once

#include "app/Feature.h"

namespace corvanta {

class MainForm;

// Moves a project or topic name to another row by cutting it to the clipboard and pasting it
// back; the paste writes the list in its new order.
class NameMoving : public Feature {
public:
    explicit NameMoving(MainForm &form);

    void CutProjectName();
    void PasteProjectName(bool atRow);
    void CutTopicName();
    void PasteTopicName(bool atRow);

private:
    MainForm &f;
};

} // namespace corvanta
