#include "uilib/core/UIDelegate.h"

namespace SkinUI {

CDelegateBase::CDelegateBase(void* object, const void* function, size_t functionSize)
    : m_object(object), m_function(), m_functionSize(functionSize)
{
    if (m_functionSize > kMaxFunctionSize) m_functionSize = kMaxFunctionSize;
    std::memcpy(m_function, function, m_functionSize);
}

bool CDelegateBase::Equals(const CDelegateBase& other) const
{
    return typeid(*this) == typeid(other) && m_object == other.m_object &&
           m_functionSize == other.m_functionSize && std::memcmp(m_function, other.m_function, m_functionSize) == 0;
}

CEventSource::~CEventSource()
{
    for (int i = 0; i < m_delegates.Count(); ++i) {
        delete static_cast<CDelegateBase*>(m_delegates[i]);
    }
}

void CEventSource::AddDelegate(const CDelegateBase& delegate)
{
    for (int i = 0; i < m_delegates.Count(); ++i) {
        if (static_cast<CDelegateBase*>(m_delegates[i])->Equals(delegate)) return;
    }
    CDelegateBase* copy = delegate.Copy();
    if (!m_delegates.Append(copy)) delete copy;
}

bool CEventSource::RemoveDelegate(const CDelegateBase& delegate)
{
    for (int i = 0; i < m_delegates.Count(); ++i) {
        CDelegateBase* listed = static_cast<CDelegateBase*>(m_delegates[i]);
        if (listed->Equals(delegate)) {
            m_delegates.RemoveAt(i);
            delete listed;
            return true;
        }
    }
    return false;
}

bool CEventSource::Invoke(void* param)
{
    // Indexed walk: a delegate may add to the list while it runs.
    for (int i = 0; i < m_delegates.Count(); ++i) {
        if (!static_cast<CDelegateBase*>(m_delegates[i])->Invoke(param)) return false;
    }
    return true;
}

} // namespace SkinUI
