#include <gtest/gtest.h>

#include <vector>

#include "uilib/core/UIDelegate.h"

using namespace SkinUI;

namespace {

class Recorder {
public:
    explicit Recorder(bool answer) : m_answer(answer) {}
    bool First(void* param)
    {
        calls.push_back(static_cast<int>(reinterpret_cast<intptr_t>(param)) * 10 + 1);
        return m_answer;
    }
    bool Second(void* param)
    {
        calls.push_back(static_cast<int>(reinterpret_cast<intptr_t>(param)) * 10 + 2);
        return true;
    }
    std::vector<int> calls;

private:
    bool m_answer;
};

int g_freeCalls = 0;
bool FreeHandler(void*)
{
    ++g_freeCalls;
    return true;
}

} // namespace

TEST(EventSource, EqualDelegateIsListedOnce)
{
    Recorder r(true);
    CEventSource source;
    EXPECT_FALSE(source.HasDelegates());
    source.AddDelegate(MakeDelegate(&r, &Recorder::First));
    source.AddDelegate(MakeDelegate(&r, &Recorder::First));
    EXPECT_TRUE(source.HasDelegates());
    EXPECT_TRUE(source.Invoke(reinterpret_cast<void*>(3)));
    EXPECT_EQ(std::vector<int>({31}), r.calls);
}

TEST(EventSource, DelegatesDifferByObjectFunctionAndKind)
{
    Recorder a(true);
    Recorder b(true);
    CEventSource source;
    source.AddDelegate(MakeDelegate(&a, &Recorder::First));
    source.AddDelegate(MakeDelegate(&a, &Recorder::Second));
    source.AddDelegate(MakeDelegate(&b, &Recorder::First));
    source.AddDelegate(MakeDelegate(&FreeHandler));
    g_freeCalls = 0;
    EXPECT_TRUE(source.Invoke(reinterpret_cast<void*>(1)));
    EXPECT_EQ(std::vector<int>({11, 12}), a.calls);
    EXPECT_EQ(std::vector<int>({11}), b.calls);
    EXPECT_EQ(1, g_freeCalls);

    EXPECT_FALSE(MakeDelegate(&a, &Recorder::First).Equals(MakeDelegate(&b, &Recorder::First)));
    EXPECT_FALSE(MakeDelegate(&a, &Recorder::First).Equals(MakeDelegate(&a, &Recorder::Second)));
    EXPECT_TRUE(MakeDelegate(&a, &Recorder::First).Equals(MakeDelegate(&a, &Recorder::First)));
    EXPECT_EQ(&a, MakeDelegate(&a, &Recorder::First).GetTargetObject());
}

TEST(EventSource, InvokeStopsAtTheFirstRefusal)
{
    Recorder refusing(false);
    Recorder after(true);
    CEventSource source;
    source.AddDelegate(MakeDelegate(&refusing, &Recorder::First));
    source.AddDelegate(MakeDelegate(&after, &Recorder::First));
    EXPECT_FALSE(source.Invoke(nullptr));
    EXPECT_EQ(1u, refusing.calls.size());
    EXPECT_TRUE(after.calls.empty());
}

TEST(EventSource, EmptySourceAcceptsAndRemoveFindsEqualDelegate)
{
    Recorder r(true);
    CEventSource source;
    EXPECT_TRUE(source.Invoke(nullptr));
    source.AddDelegate(MakeDelegate(&r, &Recorder::First));
    EXPECT_FALSE(source.RemoveDelegate(MakeDelegate(&r, &Recorder::Second)));
    EXPECT_TRUE(source.RemoveDelegate(MakeDelegate(&r, &Recorder::First)));
    EXPECT_FALSE(source.HasDelegates());
    EXPECT_TRUE(source.Invoke(nullptr));
    EXPECT_TRUE(r.calls.empty());
}
