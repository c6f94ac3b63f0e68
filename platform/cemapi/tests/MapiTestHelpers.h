// Helpers for the store's conformance tests: owning holders for interface
// pointers and MAPI buffers, a store on a fresh device with some messages,
// and an advise sink that records what it is told.
#pragma once

#include <InterfaceRef.h>
#include <TempDevice.h>
#include <cemapi.h>
#include <cemapi_host.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace mapitest {

template <class T>
using Ref = testing_support::Ref<T>;

// A MAPI buffer freed at the end of its scope.
template <class T>
class Buffer {
public:
    Buffer() = default;
    ~Buffer() { MAPIFreeBuffer(p_); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator[](size_t i) const { return p_[i]; }
    T** out() {
        MAPIFreeBuffer(p_);
        p_ = nullptr;
        return &p_;
    }

private:
    T* p_ = nullptr;
};

using Bytes = std::vector<BYTE>;

inline LPENTRYID Id(const Bytes& bytes) { return reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(bytes.data())); }
inline ULONG Size(const Bytes& bytes) { return static_cast<ULONG>(bytes.size()); }
inline Bytes BytesOf(const SBinary& bin) { return Bytes(bin.lpb, bin.lpb + bin.cb); }
inline Bytes BytesOf(ULONG cb, const ENTRYID* id) {
    const BYTE* p = reinterpret_cast<const BYTE*>(id);
    return p ? Bytes(p, p + cb) : Bytes();
}

// One property of an object, by GetProps; nullopt for an error value.
inline std::optional<SPropValue> ReadProp(IMAPIProp* object, ULONG tag, Buffer<SPropValue>* keep) {
    SizedSPropTagArray(1, tags) = {1, {tag}};
    ULONG count = 0;
    HRESULT hr = object->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, keep->out());
    EXPECT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
    if (FAILED(hr) || count != 1 || PROP_TYPE((*keep)[0].ulPropTag) == PT_ERROR) return std::nullopt;
    return (*keep)[0];
}

inline Bytes ReadBinary(IMAPIProp* object, ULONG tag) {
    Buffer<SPropValue> keep;
    std::optional<SPropValue> value = ReadProp(object, tag, &keep);
    return value ? BytesOf(value->Value.bin) : Bytes();
}

inline std::u16string ReadText(IMAPIProp* object, ULONG tag) {
    Buffer<SPropValue> keep;
    std::optional<SPropValue> value = ReadProp(object, tag, &keep);
    return value ? std::u16string(value->Value.lpszW) : std::u16string(u"<missing>");
}

inline LONG ReadLong(IMAPIProp* object, ULONG tag) {
    Buffer<SPropValue> keep;
    std::optional<SPropValue> value = ReadProp(object, tag, &keep);
    return value ? value->Value.l : -1;
}

inline HRESULT SetLong(IMAPIProp* object, ULONG tag, LONG value) {
    SPropValue prop{};
    prop.ulPropTag = tag;
    prop.Value.l = value;
    return object->SetProps(1, &prop, nullptr);
}

inline FILETIME Time(uint64_t ticks) { return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }

// A fresh device whose store is open.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
        store_ = Ref<IMsgStore>(host::OpenMessageStore());
        ASSERT_TRUE(store_);
    }
    void TearDown() override {
        store_.reset();
        host::StopMessageStore();
    }

    // A text message as it arrives; a zero time is now.
    Bytes Deliver(const std::u16string& subject, bool read = false, uint64_t ticks = 0,
                  host::MessageFolder folder = host::MessageFolder::Inbox) {
        host::StoredMessage message;
        message.messageClass = u"IPM.SMStext";
        message.subject = subject;
        message.senderAddress = u"+79161234567";
        message.senderName = u"Mirela";
        message.read = read;
        message.deliveryTime = Time(ticks);
        Bytes id = host::StoreMessage(folder, message);
        EXPECT_FALSE(id.empty());
        return id;
    }

    Bytes FolderId(host::MessageFolder folder) {
        Bytes id = host::FolderEntryId(folder);
        EXPECT_FALSE(id.empty());
        return id;
    }

    template <class T>
    Ref<T> Open(const Bytes& id, ULONG flags = 0) {
        Ref<T> object;
        HRESULT hr = store_->OpenEntry(Size(id), Id(id), nullptr, flags, nullptr,
                                       reinterpret_cast<LPUNKNOWN*>(object.out()));
        EXPECT_EQ(S_OK, hr) << std::hex << hr;
        return object;
    }

    testing_support::TempDevice device_;
    Ref<IMsgStore> store_;
};

// Records every notification it gets, with the thread it came on.
class RecordingSink : public IMAPIAdviseSink {
public:
    virtual ~RecordingSink() = default;

    struct Seen {
        ULONG event = 0;
        ULONG objType = 0;
        Bytes entry, parent, oldEntry, oldParent;
        std::optional<std::vector<ULONG>> tags;
        DWORD thread = 0;
    };

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_INVALIDARG;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IMAPIAdviseSink) return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return refs;
    }
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override {
        std::lock_guard<std::mutex> lock(mutex_);
        for (ULONG i = 0; i < cNotif; ++i) {
            const OBJECT_NOTIFICATION& obj = lpNotifications[i].info.obj;
            Seen seen;
            seen.event = lpNotifications[i].ulEventType;
            seen.objType = obj.ulObjType;
            seen.entry = BytesOf(obj.cbEntryID, obj.lpEntryID);
            seen.parent = BytesOf(obj.cbParentID, obj.lpParentID);
            seen.oldEntry = BytesOf(obj.cbOldID, obj.lpOldID);
            seen.oldParent = BytesOf(obj.cbOldParentID, obj.lpOldParentID);
            if (obj.lpPropTagArray)
                seen.tags = std::vector<ULONG>(obj.lpPropTagArray->aulPropTag,
                                               obj.lpPropTagArray->aulPropTag + obj.lpPropTagArray->cValues);
            seen.thread = GetCurrentThreadId();
            seen_.push_back(std::move(seen));
        }
        changed_.notify_all();
        return S_OK;
    }

    // Waits (generously) until n notifications of objects of this type came.
    std::vector<Seen> WaitFor(size_t n, ULONG objType = MAPI_MESSAGE) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(10), [&] { return Of(objType).size() >= n; });
        return Of(objType);
    }
    std::vector<Seen> Snapshot(ULONG objType = MAPI_MESSAGE) {
        std::lock_guard<std::mutex> lock(mutex_);
        return Of(objType);
    }
    // The reference count, by AddRef and Release.
    LONG Refs() {
        AddRef();
        return static_cast<LONG>(Release());
    }

private:
    std::vector<Seen> Of(ULONG objType) const {
        std::vector<Seen> out;
        for (const Seen& seen : seen_)
            if (seen.objType == objType) out.push_back(seen);
        return out;
    }

    LONG volatile refs_ = 1;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Seen> seen_;
};

}  // namespace mapitest
