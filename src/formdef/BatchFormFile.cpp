#include "formdef/BatchFormFile.h"

#include <cstdio>

#include "formdef/FormModel.h"
#include "formdef/LineReader.h"

namespace {
const char kBatchGuiTag[] = "{{batch gui}}";
}

BatchFormKind ReadBatchForm(const std::string& path, std::string& script)
{
    script.clear();
    // Binary: the reader itself treats CR LF and LF alike.
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return BatchFormKind::CannotOpen;

    LineReader reader(file);
    std::string line;
    BatchFormKind kind = BatchFormKind::OrdinaryForm;
    if (reader.ReadLine(line)) {
        CFormModel::TrimBlank(line);
        // The tag must stand at position 0: a byte-order mark or any text
        // before it makes an ordinary form whose command is that line.
        if (line.compare(0, sizeof(kBatchGuiTag) - 1, kBatchGuiTag) == 0) {
            kind = BatchFormKind::BatchForm;
            while (reader.ReadLine(line))
                script += line + "\r\n";
        }
    }
    fclose(file);
    return kind;
}
