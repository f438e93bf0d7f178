// CT_Forum, CT_PropagatingForum and CT_RelayingForum: delivery order and arguments, muting,
// first answers, listeners that throw (defined here, in another module than the library), the
// delivery loop under changes, propagation to descendants and relaying.
#include "Basis/Runtime/Forum.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// Messages below 100 carry one int argument; the update message none.
struct st_Heard
{
    std::string co_Listener;
    const CT_Forum* pcco_Speaker;
    unsigned n_Message;
    int i_Argument;
    bool operator==(const st_Heard&) const = default;
};
using et_Log = std::vector<st_Heard>;

class CT_Recorder : public CT_Forum
{
public:
    CT_Recorder(et_Log& a_NewLog, const char* pc_Name, unsigned n_NewAnswer = 0)
        : a_Log(a_NewLog), co_Name(pc_Name), n_Answer(n_NewAnswer)
    {
    }
    void vv_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args) override
    {
        v_Record(pco_Speaker, n_Message, args);
    }
    unsigned vn_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args) override
    {
        v_Record(pco_Speaker, n_Message, args);
        return n_Answer;
    }

    bool b_Throws = false;
    std::function<void()> pfn_OnListen;

private:
    void v_Record(CT_Forum* pco_Speaker, unsigned n_Message, va_list args)
    {
        a_Log.push_back({co_Name, pco_Speaker, n_Message, n_Message < 100 ? va_arg(args, int) : 0});
        if (pfn_OnListen)
            pfn_OnListen();
        if (b_Throws)
            throw std::runtime_error(co_Name);
    }

    et_Log& a_Log;
    std::string co_Name;
    unsigned n_Answer;
};

TEST(Forum, SpeakingReachesEveryListenerInOrder)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_A(a_Log, "a"), co_B(a_Log, "b");
    for (CT_Forum* pco : {&co_A, &co_B, &co_A})
        co_Speaker.vv_AddListener(pco);
    co_Speaker.vv_Speak(nullptr, 1, 42);
    EXPECT_EQ(
        a_Log,
        (et_Log{{"a", &co_Speaker, 1, 42}, {"b", &co_Speaker, 1, 42}, {"a", &co_Speaker, 1, 42}}))
        << "each listener reads the arguments from their start";

    a_Log.clear();
    CT_Recorder co_Stranger(a_Log, "stranger");
    co_Speaker.vv_Speak(&co_Stranger, 2, 7);
    EXPECT_EQ(co_Speaker.vn_Speak(&co_Stranger, 3, 8), 0u);
    EXPECT_EQ(a_Log, (et_Log{{"stranger", &co_Speaker, 2, 7}, {"stranger", &co_Speaker, 3, 8}}))
        << "a target need not listen";

    a_Log.clear();
    co_Speaker.vv_Update(nullptr, 5, 99);
    co_Speaker.vv_Update(&co_Stranger, 5, 99);
    const unsigned n_Update = CT_Forum::sn_UpdateMessage;
    EXPECT_EQ(a_Log, (et_Log{{"a", &co_Speaker, n_Update, 0},
                             {"b", &co_Speaker, n_Update, 0},
                             {"a", &co_Speaker, n_Update, 0},
                             {"stranger", &co_Speaker, n_Update, 0}}));
}

TEST(Forum, MutedForumSaysNothing)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_A(a_Log, "a", 5);
    co_Speaker.vv_AddListener(&co_A);
    co_Speaker.vv_SetMute(1);
    EXPECT_TRUE(co_Speaker.vb_GetMute());
    co_Speaker.vv_Speak(nullptr, 1, 0);
    co_Speaker.vv_Speak(&co_A, 1, 0);
    co_Speaker.vv_Update(nullptr, 1);
    EXPECT_EQ(co_Speaker.vn_Speak(nullptr, 1, 0), 0u);
    EXPECT_EQ(co_Speaker.vn_Speak(&co_A, 1, 0), 0u);
    EXPECT_TRUE(a_Log.empty());

    co_Speaker.vv_Set();
    EXPECT_FALSE(co_Speaker.vb_GetMute());
    co_Speaker.vv_Speak(nullptr, 1, 0);
    EXPECT_TRUE(a_Log.empty()) << "vv_Set forgets the listeners";
}

TEST(Forum, FirstNonZeroAnswerEndsTheQuestion)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_1(a_Log, "1", 0), co_2(a_Log, "2", 7), co_3(a_Log, "3", 9);
    for (CT_Forum* pco : {&co_1, &co_2, &co_3})
        co_Speaker.vv_AddListener(pco);
    EXPECT_EQ(co_Speaker.vn_Speak(nullptr, 1, 0), 7u);
    ASSERT_EQ(a_Log.size(), 2u) << "the third is not asked";
    EXPECT_EQ(co_Speaker.vn_Speak(&co_3, 1, 0), 9u);
    EXPECT_EQ(CT_Forum().vn_Speak(nullptr, 1, 0), 0u) << "no listeners";
}

TEST(Forum, ThrowingListenerCountsAsSilent)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_Thrower(a_Log, "thrower", 3), co_After(a_Log, "after", 4);
    co_Thrower.b_Throws = true;
    co_Speaker.vv_AddListener(&co_Thrower);
    co_Speaker.vv_AddListener(&co_After);
    co_Speaker.vv_Speak(nullptr, 1, 0);
    EXPECT_EQ(co_Speaker.vn_Speak(nullptr, 1, 0), 4u);
    EXPECT_EQ(co_Speaker.vn_Speak(&co_Thrower, 1, 0), 0u);
    EXPECT_EQ(a_Log.size(), 5u);
}

TEST(Forum, RemovingTakesTheFirstEntryOnly)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_A(a_Log, "a", 0), co_B(a_Log, "b", 0);
    co_Speaker.vv_AddListener(&co_A);
    co_Speaker.vv_AddListener(&co_B);
    co_Speaker.vv_AddListener(&co_A);
    co_Speaker.vv_RemoveListener(&co_A);
    co_Speaker.vv_RemoveListener(&co_Speaker); // not listening: nothing changes
    co_Speaker.vv_Speak(nullptr, 1, 0);
    EXPECT_EQ(a_Log, (et_Log{{"b", &co_Speaker, 1, 0}, {"a", &co_Speaker, 1, 0}}));
}

TEST(Forum, DeliveryFollowsTheListAsItChanges)
{
    et_Log a_Log;
    CT_Forum co_Speaker;
    CT_Recorder co_A(a_Log, "a"), co_B(a_Log, "b"), co_C(a_Log, "c"), co_Late(a_Log, "late");
    co_Speaker.vv_AddListener(&co_A);
    co_Speaker.vv_AddListener(nullptr);
    co_Speaker.vv_AddListener(&co_B);
    co_Speaker.vv_AddListener(&co_C);
    co_A.pfn_OnListen = [&] { co_Speaker.vv_AddListener(&co_Late); };
    co_B.pfn_OnListen = [&] { co_Speaker.vv_RemoveListener(&co_B); };
    co_Speaker.vv_Speak(nullptr, 1, 0);
    EXPECT_EQ(
        a_Log,
        (et_Log{{"a", &co_Speaker, 1, 0}, {"b", &co_Speaker, 1, 0}, {"late", &co_Speaker, 1, 0}}))
        << "the null entry passed over, c skipped after b left, late reached";
}

TEST(PropagatingForum, ChangesReachDescendantsFirst)
{
    et_Log a_Log;
    std::vector<std::string> a_Order;
    struct CT_Descendant : CT_Forum
    {
        std::vector<std::string>* pa_Order;
        void vv_SetMute(int b) override
        {
            pa_Order->push_back("descendant");
            CT_Forum::vv_SetMute(b);
        }
    } co_Descendant;
    co_Descendant.pa_Order = &a_Order;
    CT_Recorder co_Early(a_Log, "early"), co_Listener(a_Log, "listener");
    CT_PropagatingForum co_Forum;
    co_Forum.vv_AddListener(&co_Early);
    co_Forum.v_AddDescendant(&co_Descendant);
    co_Forum.vv_AddListener(&co_Listener);
    co_Descendant.vv_Speak(nullptr, 1, 0);
    EXPECT_EQ(a_Log, (et_Log{{"listener", &co_Descendant, 1, 0}}))
        << "listeners from before the descendant are not passed on";

    co_Forum.vv_SetMute(1);
    a_Order.push_back(co_Forum.vb_GetMute() ? "forum muted" : "forum speaking");
    EXPECT_EQ(a_Order, (std::vector<std::string>{"descendant", "forum muted"}));
    EXPECT_TRUE(co_Descendant.vb_GetMute());

    co_Forum.vv_Set(); // withdraws its listeners from the descendant, then forgets it
    co_Descendant.vv_SetMute(0);
    a_Log.clear();
    co_Descendant.vv_Speak(nullptr, 2, 0);
    EXPECT_TRUE(a_Log.empty());
    co_Forum.vv_AddListener(&co_Listener);
    co_Descendant.vv_Speak(nullptr, 2, 0);
    EXPECT_TRUE(a_Log.empty()) << "no longer a descendant";
}

TEST(PropagatingForum, DescendantsThatPropagatePassChangesOn)
{
    et_Log a_Log;
    CT_Recorder co_Listener(a_Log, "listener");
    CT_Forum co_Leaf;
    {
        CT_PropagatingForum co_Middle, co_Root; // the root goes first
        co_Root.v_AddDescendant(&co_Middle);
        co_Middle.v_AddDescendant(&co_Leaf);
        co_Root.vv_AddListener(&co_Listener);
        co_Leaf.vv_Speak(nullptr, 1, 3);
        co_Root.vv_RemoveListener(&co_Listener);
        co_Leaf.vv_Speak(nullptr, 1, 4);
        co_Root.vv_AddListener(&co_Listener);
    } // destroying the root withdraws the listener down the line
    co_Leaf.vv_Speak(nullptr, 1, 5);
    EXPECT_EQ(a_Log, (et_Log{{"listener", &co_Leaf, 1, 3}}));
}

TEST(RelayingForum, BridgesRelaysAndListeners)
{
    et_Log a_Log;
    CT_Recorder co_Relay(a_Log, "relay", 6), co_Listener(a_Log, "listener", 8);
    CT_Forum co_Other;
    {
        CT_RelayingForum co_Bridge;
        co_Bridge.v_AddRelay(&co_Relay);
        co_Bridge.vv_AddListener(&co_Listener);
        co_Relay.vv_Speak(nullptr, 1, 10);
        EXPECT_EQ(co_Relay.vn_Speak(nullptr, 2, 11), 8u);
        co_Other.vv_Speak(&co_Bridge, 3, 12);
        EXPECT_EQ(co_Other.vn_Speak(&co_Bridge, 4, 13), 6u);
        EXPECT_EQ(a_Log, (et_Log{{"listener", &co_Bridge, 1, 10},
                                 {"listener", &co_Bridge, 2, 11},
                                 {"relay", &co_Other, 3, 12},
                                 {"relay", &co_Other, 4, 13}}));
    }
    a_Log.clear();
    co_Relay.vv_Speak(nullptr, 5, 0);
    EXPECT_TRUE(a_Log.empty()) << "the bridge left its relay when destroyed";
}
} // namespace
