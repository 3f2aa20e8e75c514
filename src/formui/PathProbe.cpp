#include "formui/PathProbe.h"

std::string MakeProbePath(const std::string& value)
{
    std::string probe = value;
    while (!probe.empty() && (probe.back() == '\\' || probe.back() == '/'))
        probe.pop_back();
    if (probe.size() == 2 && probe[1] == ':')
        probe += '\\';
    return probe;
}
