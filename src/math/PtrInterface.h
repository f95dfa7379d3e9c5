#pragma once

// The reference count of an object shared through Ptr<T>. T is the class
// that derives from it. An object starts unowned; when the last Ptr lets go
// it deletes itself.
template <class T>
class PtrInterface {
public:
    PtrInterface() : references(0) {}
    // A copy is a new object that no Ptr holds yet, whatever the original's count.
    PtrInterface(const PtrInterface&) : references(0) {}
    // Assignment changes the contents, not who holds the object.
    PtrInterface& operator=(const PtrInterface&) { return *this; }
    virtual ~PtrInterface() = default;

    virtual void onZeroReferences() { delete this; }  // the last Ptr has let go

    int references;  // how many Ptr hold this object
};
