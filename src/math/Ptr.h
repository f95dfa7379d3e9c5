#pragma once

// An intrusive reference-counting pointer to a class derived from
// PtrInterface. Null is allowed.
template <class T>
class Ptr {
public:
    Ptr(T* p = nullptr) : pointee(p) { Acquire(); }  // NOLINT: raw pointers hand over implicitly
    Ptr(const Ptr& o) : pointee(o.pointee) { Acquire(); }
    template <class U>
    Ptr(const Ptr<U>& o) : Ptr(static_cast<U*>(o)) {}  // NOLINT: Ptr<Derived> as Ptr<Base>
    ~Ptr() { Release(pointee); }

    // The new object is counted before the old one is released, so that
    // assigning a Ptr to itself cannot delete the object in between.
    Ptr& operator=(const Ptr& o) {
        T* old = pointee;
        pointee = o.pointee;
        Acquire();
        Release(old);
        return *this;
    }

    T* operator->() const { return pointee; }
    T& operator*() const { return *pointee; }
    operator T*() const { return pointee; }  // the raw pointer; also tests against null

private:
    void Acquire() {
        if (pointee != nullptr) ++pointee->references;
    }
    static void Release(T* p) {
        if (p != nullptr && --p->references == 0) p->onZeroReferences();
    }

    T* pointee;
};
