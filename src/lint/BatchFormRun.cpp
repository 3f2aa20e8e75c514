#include "lint/BatchFormRun.h"

#include "formdef/FormModel.h"

bool RunBatchFormAsTavrel(CFormModel& model, const std::string& path, BatchTimeLimit& limit)
{
    return model.ParseFileWithBatchSupport(path, &limit);
}
