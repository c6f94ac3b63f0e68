#include "Message.h"

#include <algorithm>
#include <cstddef>

namespace cemapi {

bool IsComputed(ULONG tag) {
    const ULONG id = PROP_ID(tag);
    return id == PROP_ID(PR_ENTRYID) || id == PROP_ID(PR_PARENT_ENTRYID) || id == PROP_ID(PR_OBJECT_TYPE);
}

namespace {

struct Problem {
    ULONG index;
    ULONG tag;
    SCODE scode;
};

// *out receives the problems, or null when there were none.
HRESULT ReportProblems(const std::vector<Problem>& problems, LPSPropProblemArray* out) {
    if (!out || problems.empty()) return S_OK;
    LPSPropProblemArray array = nullptr;
    HRESULT hr = MAPIAllocateBuffer(
        static_cast<ULONG>(offsetof(SPropProblemArray, aProblem) + problems.size() * sizeof(SPropProblem)),
        reinterpret_cast<LPVOID*>(&array));
    if (FAILED(hr)) return hr;
    array->cProblem = static_cast<ULONG>(problems.size());
    SPropProblem* slots = array->aProblem;
    for (size_t i = 0; i < problems.size(); ++i) slots[i] = {problems[i].index, problems[i].tag, problems[i].scode};
    *out = array;
    return S_OK;
}

}  // namespace

std::vector<Prop> MessageProps(StoreDb& db, const MessageData& message, const std::vector<ULONG>* wanted) {
    auto asked = [wanted](ULONG tag) {
        return !wanted ||
               std::any_of(wanted->begin(), wanted->end(), [tag](ULONG w) { return PROP_ID(w) == PROP_ID(tag); });
    };
    std::vector<Prop> props = message.props;
    if (asked(PR_ENTRYID)) props.push_back(BinaryProp(PR_ENTRYID, db.EntryId(MAPI_MESSAGE, message.id)));
    if (asked(PR_PARENT_ENTRYID))
        props.push_back(BinaryProp(PR_PARENT_ENTRYID, db.EntryId(MAPI_FOLDER, message.folder)));
    if (asked(PR_OBJECT_TYPE)) props.push_back(LongProp(PR_OBJECT_TYPE, MAPI_MESSAGE));
    // Every message has flags; one never given any has not been read.
    if (asked(PR_MESSAGE_FLAGS) && !FindProp(props, PROP_ID(PR_MESSAGE_FLAGS)))
        props.push_back(LongProp(PR_MESSAGE_FLAGS, 0));
    return props;
}

Message::Message(MsgStore* store, RowId row) : store_(store), row_(row) { store_->AddRef(); }

Message::~Message() { store_->Release(); }

STDMETHODIMP Message::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_INVALIDARG;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IMAPIProp && riid != IID_IMessage) return E_NOINTERFACE;
    *ppvObject = static_cast<IMessage*>(this);
    AddRef();
    return S_OK;
}

HRESULT Message::Available(std::vector<Prop>* props) {
    std::optional<MessageData> message = store_->db().Message(row_);
    if (!message) return MAPI_E_OBJECT_DELETED;
    *props = MessageProps(store_->db(), *message);
    return S_OK;
}

STDMETHODIMP Message::SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) {
    if (lppProblems) *lppProblems = nullptr;
    HRESULT hr;
    if (Injected("IMessage::SetProps", &hr)) return hr;
    if (!cValues || !lpPropArray) return MAPI_E_INVALID_PARAMETER;

    std::vector<Prop> props;
    std::vector<Problem> problems;
    for (ULONG i = 0; i < cValues; ++i) {
        const SPropValue& value = lpPropArray[i];
        const ULONG type = PROP_TYPE(value.ulPropTag);
        // Error and null values carry nothing to store.
        if (type == PT_ERROR || type == PT_NULL) continue;
        if (IsComputed(value.ulPropTag)) {
            problems.push_back({i, value.ulPropTag, MAPI_E_COMPUTED});
            continue;
        }
        Prop prop;
        SCODE problem = S_OK;
        if (!FromPropValue(value, &prop, &problem)) {
            problems.push_back({i, value.ulPropTag, problem});
            continue;
        }
        // A property given twice takes the later value.
        std::erase_if(props, [&](const Prop& p) { return PROP_ID(p.tag) == PROP_ID(prop.tag); });
        props.push_back(std::move(prop));
    }
    if (!props.empty()) {
        hr = store_->db().SetProps(row_, props, {});
        if (FAILED(hr)) return hr;
    }
    return ReportProblems(problems, lppProblems);
}

STDMETHODIMP Message::DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) {
    if (lppProblems) *lppProblems = nullptr;
    HRESULT hr;
    if (Injected("IMessage::DeleteProps", &hr)) return hr;
    if (!lpPropTagArray) return MAPI_E_INVALID_PARAMETER;
    std::vector<ULONG> ids;
    std::vector<Problem> problems;
    const ULONG* tags = lpPropTagArray->aulPropTag;
    for (ULONG i = 0; i < lpPropTagArray->cValues; ++i) {
        if (IsComputed(tags[i]))
            problems.push_back({i, tags[i], MAPI_E_COMPUTED});
        else
            ids.push_back(PROP_ID(tags[i]));
    }
    if (!ids.empty()) {
        hr = store_->db().SetProps(row_, {}, ids);
        if (FAILED(hr)) return hr;
    }
    return ReportProblems(problems, lppProblems);
}

STDMETHODIMP Message::GetAttachmentTable(ULONG, LPMAPITABLE* lppTable) {
    if (lppTable) *lppTable = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP Message::OpenAttach(ULONG, LPCIID, ULONG, LPUNKNOWN* lppAttach) {
    if (lppAttach) *lppAttach = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP Message::CreateAttach(LPCIID, ULONG, ULONG*, LPUNKNOWN* lppAttach) {
    if (lppAttach) *lppAttach = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP Message::GetRecipientTable(ULONG, LPMAPITABLE* lppTable) {
    if (lppTable) *lppTable = nullptr;
    return MAPI_E_NO_SUPPORT;
}

}  // namespace cemapi
