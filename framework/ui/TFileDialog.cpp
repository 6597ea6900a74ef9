#include "framework/ui/TFileDialog.h"
#include "framework/ui/TApplication.h"

bool TFileDialog::Execute()
{
    request_.title = Title;
    request_.filter = Filter;
    request_.filterIndex = FilterIndex;
    request_.initialDir = InitialDir;
    request_.fileName = FileName;
    request_.defaultExt = DefaultExt;
    request_.overwritePrompt = OverwritePrompt;
    const auto result = Application->interaction().fileDialog(request_);
    if (!result)
        return false;
    FileName = result->fileName;
    FilterIndex = result->filterIndex;
    return true;
}
