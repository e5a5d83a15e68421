#pragma once

// The top-level dialog as the pages see it: where Enter and Escape typed inside a page go,
// as the commands IDOK and IDCANCEL.
class IDialogCommandTarget {
public:
    virtual ~IDialogCommandTarget() = default;
    virtual void OnDialogCommand(int nID) = 0;
};
