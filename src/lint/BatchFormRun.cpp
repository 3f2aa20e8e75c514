#include "lint/BatchFormRun.h"

#include "formdef/FormModel.h"

bool RunBatchFormAsTavrel(CFormModel& model, const std::string& path)
{
    return model.ParseFileWithBatchSupport(path);
}
