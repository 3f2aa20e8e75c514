#pragma once
// Root of the framework's class tree: anything held in an owning array of
// objects derives from it and is destroyed through its virtual destructor.
// Free of <windows.h> so that the form model builds on any host.

class CObject {
public:
    CObject() = default;
    virtual ~CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};
