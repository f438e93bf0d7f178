#include "Basis/Runtime/Forum.h"

namespace
{
constexpr unsigned sn_Growth = 8; // items

// Visits positions 1, 2, ... while the position does not pass the count, which is read again
// before each visit, so that the list may change under the visits; null entries are passed
// over. Stops at the first non-zero answer of f and returns it.
template <typename F>
unsigned sn_Visit(const CT_Array<CT_Forum*>& co_List, F f)
{
    for (unsigned n = 1; n <= co_List.n_GetCount(); ++n)
        if (CT_Forum* pco = co_List.p_GetAt(n))
            if (unsigned n_Answer = f(pco))
                return n_Answer;
    return 0;
}

// The same for an f without an answer: every entry is visited.
template <typename F>
void sv_Each(const CT_Array<CT_Forum*>& co_List, F f)
{
    sn_Visit(co_List,
             [&](CT_Forum* pco)
             {
                 f(pco);
                 return 0u;
             });
}

// The arguments from their start again, for each listener.
class CT_Arguments
{
public:
    explicit CT_Arguments(va_list args) { va_copy(o_Args, args); }
    CT_Arguments(const CT_Arguments&) = delete;
    CT_Arguments& operator=(const CT_Arguments&) = delete;
    ~CT_Arguments() { va_end(o_Args); }
    va_list& o_Get() { return o_Args; }

private:
    va_list o_Args;
};
} // namespace

// ---- CT_Forum ----

CT_Forum::CT_Forum() : co_Listeners(sn_Growth, 0), b_Mute(0) {}

CT_Forum::~CT_Forum() = default;

void CT_Forum::vv_Set()
{
    b_Mute = 0;
    co_Listeners.v_Set(sn_Growth, 0, 1);
}

void CT_Forum::vv_AddListener(CT_Forum* pco_Forum)
{
    co_Listeners.v_Insert(pco_Forum);
}

void CT_Forum::vv_RemoveListener(CT_Forum* pco_Forum)
{
    if (unsigned n = co_Listeners.n_Find(pco_Forum))
        co_Listeners.v_RemoveAt(n);
}

void CT_Forum::vv_SetMute(int b_NewMute)
{
    b_Mute = b_NewMute;
}

int CT_Forum::vb_GetMute() const
{
    return b_Mute;
}

void CT_Forum::vv_Update(CT_Forum* pco_Target, unsigned, ...)
{
    if (!b_Mute)
        vv_Speak(pco_Target, sn_UpdateMessage);
}

void CT_Forum::vv_Listen(CT_Forum*, unsigned, va_list) {}

unsigned CT_Forum::vn_Listen(CT_Forum*, unsigned, va_list)
{
    return 0;
}

void CT_Forum::vv_Speak(CT_Forum* pco_Target, unsigned n_Message, ...)
{
    va_list args;
    va_start(args, n_Message);
    vv_SpeakVA(pco_Target, n_Message, args);
    va_end(args);
}

void CT_Forum::vv_SpeakVA(CT_Forum* pco_Target, unsigned n_Message, va_list args)
{
    if (b_Mute)
        return;
    auto v_Tell = [&](CT_Forum* pco_Listener)
    { pco_Listener->vv_Hear(this, n_Message, CT_Arguments(args).o_Get()); };
    if (pco_Target)
        v_Tell(pco_Target);
    else
        sv_Each(co_Listeners, v_Tell);
}

unsigned CT_Forum::vn_Speak(CT_Forum* pco_Target, unsigned n_Message, ...)
{
    va_list args;
    va_start(args, n_Message);
    unsigned n_Answer = vn_SpeakVA(pco_Target, n_Message, args);
    va_end(args);
    return n_Answer;
}

unsigned CT_Forum::vn_SpeakVA(CT_Forum* pco_Target, unsigned n_Message, va_list args)
{
    if (b_Mute)
        return 0;
    auto n_Ask = [&](CT_Forum* pco_Listener)
    { return pco_Listener->vn_Hear(this, n_Message, CT_Arguments(args).o_Get()); };
    return pco_Target ? n_Ask(pco_Target) : sn_Visit(co_Listeners, n_Ask);
}

// ---- CT_PropagatingForum ----

CT_PropagatingForum::CT_PropagatingForum() : co_Descendants(sn_Growth, 0) {}

CT_PropagatingForum::~CT_PropagatingForum()
{
    v_Exit();
}

void CT_PropagatingForum::vv_Set()
{
    v_Exit();
    CT_Forum::vv_Set();
}

void CT_PropagatingForum::vv_AddListener(CT_Forum* pco_Forum)
{
    sv_Each(co_Descendants, [&](CT_Forum* pco) { pco->vv_AddListener(pco_Forum); });
    CT_Forum::vv_AddListener(pco_Forum);
}

void CT_PropagatingForum::vv_RemoveListener(CT_Forum* pco_Forum)
{
    sv_Each(co_Descendants, [&](CT_Forum* pco) { pco->vv_RemoveListener(pco_Forum); });
    CT_Forum::vv_RemoveListener(pco_Forum);
}

void CT_PropagatingForum::vv_SetMute(int b_NewMute)
{
    sv_Each(co_Descendants, [&](CT_Forum* pco) { pco->vv_SetMute(b_NewMute); });
    CT_Forum::vv_SetMute(b_NewMute);
}

void CT_PropagatingForum::v_AddDescendant(CT_Forum* pco_Forum)
{
    co_Descendants.v_Insert(pco_Forum);
}

// Takes the forum's listeners back from every descendant, then forgets the descendants.
void CT_PropagatingForum::v_Exit()
{
    sv_Each(co_Descendants,
            [&](CT_Forum* pco_Descendant)
            {
                for (unsigned n = 1; n <= co_Listeners.n_GetCount(); ++n)
                    pco_Descendant->vv_RemoveListener(co_Listeners.p_GetAt(n));
            });
    co_Descendants.v_Set(sn_Growth, 0, 1);
}

// ---- CT_RelayingForum ----

CT_RelayingForum::CT_RelayingForum() : co_Relays(sn_Growth, 0) {}

CT_RelayingForum::~CT_RelayingForum()
{
    v_Exit();
}

void CT_RelayingForum::vv_Set()
{
    v_Exit();
    CT_Forum::vv_Set();
}

void CT_RelayingForum::vv_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args)
{
    if (co_Relays.n_Find(pco_Speaker))
    {
        vv_SpeakVA(nullptr, n_Message, args);
        return;
    }
    sv_Each(co_Relays, [&](CT_Forum* pco_Relay)
            { pco_Relay->vv_Listen(pco_Speaker, n_Message, CT_Arguments(args).o_Get()); });
}

unsigned CT_RelayingForum::vn_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args)
{
    if (co_Relays.n_Find(pco_Speaker))
        return vn_SpeakVA(nullptr, n_Message, args);
    return sn_Visit(
        co_Relays, [&](CT_Forum* pco_Relay)
        { return pco_Relay->vn_Listen(pco_Speaker, n_Message, CT_Arguments(args).o_Get()); });
}

void CT_RelayingForum::v_AddRelay(CT_Forum* pco_Forum)
{
    co_Relays.v_Insert(pco_Forum);
    pco_Forum->vv_AddListener(this);
}

void CT_RelayingForum::v_Exit()
{
    sv_Each(co_Relays, [&](CT_Forum* pco_Relay) { pco_Relay->vv_RemoveListener(this); });
    co_Relays.v_Set(sn_Growth, 0, 1);
}
