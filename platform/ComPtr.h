#pragma once
// Owns one reference to a component; makes "release on every path" hold by construction.

#include "platform/Unknown.h"

#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(const CComPtr& other) : m_p(other.m_p) { AddRefIfAny(); }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ~CComPtr() { Reset(); }

    CComPtr& operator=(CComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }

    // Takes over a reference the caller already owns (an out-pointer's).
    static CComPtr Adopt(T* p)
    {
        CComPtr r;
        r.m_p = p;
        return r;
    }
    // Adds a reference of its own.
    static CComPtr Share(T* p)
    {
        CComPtr r;
        r.m_p = p;
        r.AddRefIfAny();
        return r;
    }

    // Asks any component for interface iid; empty when it does not answer.
    template <class U>
    static CComPtr Query(U* from, REFIID iid)
    {
        CComPtr r;
        if (from != nullptr) {
            void* out = nullptr;
            if (from->QueryInterface(iid, &out) == S_OK) r.m_p = static_cast<T*>(out);
        }
        return r;
    }

    void Reset()
    {
        if (m_p != nullptr) std::exchange(m_p, nullptr)->Release();
    }
    T* Detach() { return std::exchange(m_p, nullptr); }
    // For out-pointer arguments: drops the current reference first.
    T** Receive()
    {
        Reset();
        return &m_p;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    void AddRefIfAny()
    {
        if (m_p != nullptr) m_p->AddRef();
    }

    T* m_p = nullptr;
};
