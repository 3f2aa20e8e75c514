#include "common/EnvironmentReferences.h"

std::string ExpandReferencesWith(const std::string& text, const EnvironmentLookup& lookup)
{
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find('%', at);
        const size_t close = open == std::string::npos ? std::string::npos : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(at);
            break;
        }
        const std::string name = text.substr(open + 1, close - open - 1);
        std::string value;
        if (!name.empty() && lookup(name, value)) {
            out += text.substr(at, open - at) + value;
            at = close + 1;
        } else {
            // Not a reference: the first % stays, and the second may open one.
            out += text.substr(at, close - at);
            at = close;
        }
    }
    return out;
}
