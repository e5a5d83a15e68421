#pragma once

#include <string>

namespace tarnwick {

// The desktop's dialog for choosing a file to open.
class IFileChooser {
public:
    virtual ~IFileChooser() = default;
    // strFilter lists "description|pattern|" pairs and ends with a second '|'. strPathName
    // holds the file chosen so far, whose folder the dialog opens in (the home folder when
    // there is none). On OK the full path of the chosen file goes into strPathName and the
    // answer is true; on cancel nothing changes.
    virtual bool ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) = 0;
};

} // namespace tarnwick
