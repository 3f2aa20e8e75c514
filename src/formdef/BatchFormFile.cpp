#include "formdef/BatchFormFile.h"

#include <utility>

#include "formdef/FormFile.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"

namespace {
const char kBatchGuiTag[] = "{{batch gui}}";
}

BatchFormKind ReadBatchForm(const std::string& path, std::string& script)
{
    script.clear();
    // Decoded as every form file is, so that a byte-order mark before the
    // tag is no part of line 1.
    std::string text;
    if (!ReadFormFile(path, text))
        return BatchFormKind::CannotOpen;

    // A file holding a NUL byte is no text file: the parser reports where.
    if (text.find('\0') != std::string::npos)
        return BatchFormKind::OrdinaryForm;
    LineReader reader(std::move(text));
    std::string line;
    BatchFormKind kind = BatchFormKind::OrdinaryForm;
    if (reader.ReadLine(line)) {
        CFormModel::TrimBlank(line);
        // The tag must stand at position 0: any text before it makes an
        // ordinary form whose command is that line.
        if (line.compare(0, sizeof(kBatchGuiTag) - 1, kBatchGuiTag) == 0) {
            kind = BatchFormKind::BatchForm;
            while (reader.ReadLine(line))
                script += line + "\r\n";
        }
    }
    return kind;
}
