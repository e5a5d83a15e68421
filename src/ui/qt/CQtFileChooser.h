#pragma once

#include "dialogs/IFileChooser.h"

#include <QString>
#include <QStringList>

namespace tarnwick {

// The desktop's file dialog for opening a file, above the window that is active.
class CQtFileChooser : public IFileChooser {
public:
    bool ChooseFileToOpen(const std::string& strFilter, std::string& strPathName) override;

    // "Description|pattern;pattern|...|" as Qt's name filters. "*.*" means every file here,
    // as it does on Windows, so it becomes "*"; the description stays as written and the
    // dialog shows only the description.
    static QStringList ToNameFilters(const std::string& strFilter);
    // The folder the dialog opens in: that of the file chosen so far, while that folder
    // exists, else the home folder.
    static QString StartFolder(const std::string& strPathName);
};

} // namespace tarnwick
