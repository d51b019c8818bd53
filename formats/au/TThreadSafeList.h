#pragma once

#include <atomic>
#include <new>

namespace kelmora::au
{
/** A list that any thread may ask to change and one thread (the render thread) reads.

    Requests go onto a lock-free pending stack; the reading thread applies them with Update()
    before it walks the active list. Nodes are recycled through a lock-free free stack, so the
    reading thread never allocates; requesting threads allocate only when that stack is empty.
*/
template <typename T>
class TThreadSafeList
{
public:
    enum EventType { kAdd = 0, kRemove = 1, kClear = 2 };

    struct Node
    {
        Node* mNext;
        EventType mEventType;
        T mObject;
    };

    TThreadSafeList() = default;
    ~TThreadSafeList()
    {
        FreeChain (mActiveList);
        FreeChain (mPendingList.PopAll());
        FreeChain (mFreeList.PopAll());
    }

    TThreadSafeList (const TThreadSafeList&) = delete;
    TThreadSafeList& operator= (const TThreadSafeList&) = delete;

    // Any thread; throws std::bad_alloc when no node can be had.
    void deferred_add (const T& object) { PushRequest (kAdd, object); }
    void deferred_remove (const T& object) { PushRequest (kRemove, object); }
    void deferred_clear() { PushRequest (kClear, T {}); }

    // Reading thread only: applies the pending requests in the order they were made.
    void Update()
    {
        Node* reversed = mPendingList.PopAll();
        Node* request = nullptr;
        while (reversed != nullptr)
        {
            Node* next = reversed->mNext;
            reversed->mNext = request;
            request = reversed;
            reversed = next;
        }

        while (request != nullptr)
        {
            Node* next = request->mNext;
            switch (request->mEventType)
            {
                case kAdd:
                    if (Find (request->mObject) != nullptr)
                        mFreeList.Push (request);
                    else
                        Append (request);
                    break;
                case kRemove:
                    Unlink (request->mObject);
                    mFreeList.Push (request);
                    break;
                case kClear:
                    while (mActiveList != nullptr)
                    {
                        Node* node = mActiveList;
                        mActiveList = node->mNext;
                        mFreeList.Push (node);
                    }
                    mFreeList.Push (request);
                    break;
            }
            request = next;
        }
    }

    // Reading thread only.
    template <typename Fn>
    void ForEach (Fn&& fn) const
    {
        for (Node* node = mActiveList; node != nullptr; node = node->mNext)
            fn (node->mObject);
    }

private:
    class NodeStack
    {
    public:
        void Push (Node* node) { PushChain (node, node); }

        // Links last to the current head and installs first, retried until no other push intervenes.
        void PushChain (Node* first, Node* last)
        {
            Node* head = mHead.load (std::memory_order_relaxed);
            do
                last->mNext = head;
            while (! mHead.compare_exchange_weak (head, first, std::memory_order_acq_rel, std::memory_order_relaxed));
        }

        Node* PopAll() { return mHead.exchange (nullptr, std::memory_order_acq_rel); }

    private:
        std::atomic<Node*> mHead { nullptr };
    };

    Node* AllocNode()
    {
        if (Node* node = mFreeList.PopAll())
        {
            if (Node* rest = node->mNext)
            {
                Node* last = rest;
                while (last->mNext != nullptr)
                    last = last->mNext;
                mFreeList.PushChain (rest, last);
            }
            return node;
        }
        return new Node();
    }

    void PushRequest (EventType type, const T& object)
    {
        Node* node = AllocNode();
        node->mEventType = type;
        node->mObject = object;
        mPendingList.Push (node);
    }

    Node* Find (const T& object) const
    {
        for (Node* node = mActiveList; node != nullptr; node = node->mNext)
            if (node->mObject == object)
                return node;
        return nullptr;
    }

    void Append (Node* node)
    {
        node->mNext = nullptr;
        Node** link = &mActiveList;
        while (*link != nullptr)
            link = &(*link)->mNext;
        *link = node;
    }

    void Unlink (const T& object)
    {
        for (Node** link = &mActiveList; *link != nullptr; link = &(*link)->mNext)
        {
            if ((*link)->mObject == object)
            {
                Node* node = *link;
                *link = node->mNext;
                mFreeList.Push (node);
                return;
            }
        }
    }

    static void FreeChain (Node* node)
    {
        while (node != nullptr)
        {
            Node* next = node->mNext;
            delete node;
            node = next;
        }
    }

    Node* mActiveList = nullptr;  // touched by the reading thread only
    NodeStack mPendingList;
    NodeStack mFreeList;
};
} // namespace kelmora::au
