#pragma once

#include <cstring>
#include <typeinfo>

#include "uilib/core/UIPtrArray.h"

namespace SkinUI {

// A callback with one untyped parameter. Two delegates are equal when they
// are of the same kind and name the same object and function.
class CDelegateBase {
public:
    virtual ~CDelegateBase() = default;
    virtual CDelegateBase* Copy() const = 0;
    virtual bool Invoke(void* param) = 0;

    bool Equals(const CDelegateBase& other) const;
    void* GetTargetObject() const { return m_object; }

protected:
    CDelegateBase(void* object, const void* function, size_t functionSize);
    const void* FunctionBytes() const { return m_function; }

private:
    // Member-function pointers are wider than a data pointer; keep their bytes.
    static const size_t kMaxFunctionSize = 16;

    void* m_object;
    unsigned char m_function[kMaxFunctionSize];
    size_t m_functionSize;
};

// Delegate to a free function.
class CFunctionDelegate : public CDelegateBase {
public:
    typedef bool (*Function)(void* param);

    explicit CFunctionDelegate(Function fn) : CDelegateBase(nullptr, &fn, sizeof(fn)), m_fn(fn) {}
    CDelegateBase* Copy() const override { return new CFunctionDelegate(m_fn); }
    bool Invoke(void* param) override { return m_fn(param); }

private:
    Function m_fn;
};

// Delegate to a member function of an object.
template <class T>
class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Function)(void* param);

    CDelegate(T* object, Function fn) : CDelegateBase(object, &fn, sizeof(fn)), m_target(object), m_fn(fn) {}
    CDelegateBase* Copy() const override { return new CDelegate(m_target, m_fn); }
    bool Invoke(void* param) override { return (m_target->*m_fn)(param); }

private:
    static_assert(sizeof(Function) <= 16, "member function pointer too wide");
    T* m_target;
    Function m_fn;
};

template <class T>
CDelegate<T> MakeDelegate(T* object, bool (T::*fn)(void*))
{
    return CDelegate<T>(object, fn);
}

inline CFunctionDelegate MakeDelegate(bool (*fn)(void*))
{
    return CFunctionDelegate(fn);
}

// An ordered list of delegates, owned by the source.
class CEventSource {
public:
    CEventSource() = default;
    ~CEventSource();
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

    // Appends a copy unless an equal delegate is already listed.
    void AddDelegate(const CDelegateBase& delegate);
    // Removes the first equal delegate; false when none is listed.
    bool RemoveDelegate(const CDelegateBase& delegate);
    // True when every delegate returned true; stops at the first refusal.
    bool Invoke(void* param);
    bool HasDelegates() const { return !m_delegates.IsEmpty(); }

private:
    CUIPtrArray m_delegates;
};

} // namespace SkinUI
