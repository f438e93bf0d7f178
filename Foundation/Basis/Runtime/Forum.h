// CT_Forum, CT_PropagatingForum and CT_RelayingForum: objects that speak messages to the forums
// that listen to them.
//
// A message is an unsigned number plus further arguments whose meaning the number fixes; forums
// pass them on untouched, and every listener reads them from the start. Every forum speaks and
// listens: a class derived from CT_Forum overrides the listening operations to act on the
// messages it cares about. Each speak and listen operation has a form without a result,
// delivered to every listener, and one that stops at the first listener answering non-zero.
// An exception that a listener raises is caught and dropped where the forum calls it.
//
// Forums do not own the forums in their lists, and nothing takes a destroyed forum out of the
// lists it is in (but a relaying forum out of its relays' listeners): whoever destroys a forum
// removes it first. Forums are not synchronised: one thread at a time.
#pragma once

#include "Basis/Collection/Array.h"
#include "Basis/Platform/Export.h"

#include <cstdarg>

class CT_EXPORT CT_Forum
{
public:
    static constexpr unsigned sn_UpdateMessage = 0xFFFFFFFFu;

    CT_Forum();
    CT_Forum(const CT_Forum&) = delete;
    CT_Forum& operator=(const CT_Forum&) = delete;
    virtual ~CT_Forum();

    // Back to the constructed state: not muted, no listeners (the list's storage kept).
    virtual void vv_Set();
    // Listeners are kept in the order they were added; a forum may listen more than once.
    virtual void vv_AddListener(CT_Forum* pco_Forum);
    // Removes the first entry of the forum, if any.
    virtual void vv_RemoveListener(CT_Forum* pco_Forum);
    virtual void vv_SetMute(int b_NewMute);
    virtual int vb_GetMute() const;
    // Speaks sn_UpdateMessage, without the given message and arguments, to the target or to
    // every listener.
    virtual void vv_Update(CT_Forum* pco_Target, unsigned n_Message, ...);
    // What a forum does with what it hears: nothing, and 0, in the base.
    virtual void vv_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args);
    virtual unsigned vn_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args);
    // A muted forum says nothing. With a target only the target hears it, listening or not;
    // without, every listener in list order, including listeners added while it speaks (a
    // listener removed meanwhile moves the later ones up, so one of them is passed over).
    virtual void vv_Speak(CT_Forum* pco_Target, unsigned n_Message, ...);
    virtual void vv_SpeakVA(CT_Forum* pco_Target, unsigned n_Message, va_list args);
    // As vv_Speak; the first non-zero answer, asking no later listener, else 0. A listener that
    // raises an exception answers 0.
    virtual unsigned vn_Speak(CT_Forum* pco_Target, unsigned n_Message, ...);
    virtual unsigned vn_SpeakVA(CT_Forum* pco_Target, unsigned n_Message, va_list args);

    // The guarded calls of a listener that speaking makes, one slot each. They are defined
    // here, so that each module compiles them into the table of its own listener classes: an
    // exception is then caught in the module that raised it, which the unwinder of a module
    // linked with a static runtime needs.
    virtual void vv_Hear(CT_Forum* pco_Speaker, unsigned n_Message, va_list args)
    {
        try
        {
            vv_Listen(pco_Speaker, n_Message, args);
        }
        catch (...)
        {
        }
    }
    virtual unsigned vn_Hear(CT_Forum* pco_Speaker, unsigned n_Message, va_list args)
    {
        try
        {
            return vn_Listen(pco_Speaker, n_Message, args);
        }
        catch (...)
        {
            return 0;
        }
    }

protected:
    CT_Array<CT_Forum*> co_Listeners;
    int b_Mute;
};

// Hands every change of its listener list and of its mute state to its descendants first, each
// through its own virtual operation, so that propagating descendants pass it further.
class CT_EXPORT CT_PropagatingForum : public CT_Forum
{
public:
    CT_PropagatingForum();
    // Withdraws from the descendants first (see vv_Set).
    ~CT_PropagatingForum() override;

    // Removes each of its listeners from each descendant, then forgets the descendants and
    // resets the rest as CT_Forum does.
    void vv_Set() override;
    void vv_AddListener(CT_Forum* pco_Forum) override;
    void vv_RemoveListener(CT_Forum* pco_Forum) override;
    void vv_SetMute(int b_NewMute) override;

    // The forum's present listeners are not added to the new descendant.
    void v_AddDescendant(CT_Forum* pco_Forum);

private:
    void v_Exit();

    CT_Array<CT_Forum*> co_Descendants;
};

// Bridges between the forums it relays and its own listeners: what a relay says reaches the
// listeners as said by this forum, and what another forum says to this one reaches every relay
// as said by that forum. A relaying forum listens to each relay from v_AddRelay until vv_Set or
// its destruction. Relays that relay each other in a circle pass a message round for ever.
class CT_EXPORT CT_RelayingForum : public CT_Forum
{
public:
    CT_RelayingForum();
    ~CT_RelayingForum() override;

    void vv_Set() override;
    void vv_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args) override;
    unsigned vn_Listen(CT_Forum* pco_Speaker, unsigned n_Message, va_list args) override;

    // Appends the relay and listens to it.
    void v_AddRelay(CT_Forum* pco_Forum);

private:
    void v_Exit();

    CT_Array<CT_Forum*> co_Relays;
};
