// MAPI data structures and the message-store interfaces.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <mapicode.h>
#include <mapitags.h>

#define MAPI_DIM                  1
#define MAPIMETHOD(method)        STDMETHOD(method)
#define MAPIMETHOD_(type, method) STDMETHOD_(type, method)

typedef ULONG* LPULONG;
typedef BOOLEAN* LPBOOLEAN;
typedef SCODE* LPSCODE;

// Entry identifiers
typedef struct _ENTRYID {
    BYTE abFlags[4];
    BYTE ab[MAPI_DIM];
} ENTRYID, *LPENTRYID;

typedef struct _SBinary {
    ULONG cb;
    LPBYTE lpb;
} SBinary, *LPSBinary;

typedef struct _SBinaryArray {
    ULONG cValues;
    SBinary* lpbin;
} SBinaryArray, ENTRYLIST, *LPENTRYLIST;

typedef struct _SShortArray {
    ULONG cValues;
    short int* lpi;
} SShortArray;
typedef struct _SLongArray {
    ULONG cValues;
    LONG* lpl;
} SLongArray;
typedef struct _SLPSTRArray {
    ULONG cValues;
    LPSTR* lppszA;
} SLPSTRArray;
typedef struct _SWStringArray {
    ULONG cValues;
    LPWSTR* lppszW;
} SWStringArray;

typedef union _CY {
    struct {
        ULONG Lo;
        LONG Hi;
    } s;
    LONGLONG int64;
} CY, CURRENCY;

// Property values. A value the object could not supply comes back with the
// type PT_ERROR and the reason in Value.err.
typedef union _PV {
    short int i;
    LONG l;
    ULONG ul;
    float flt;
    double dbl;
    unsigned short int b;
    CURRENCY cur;
    double at;
    FILETIME ft;
    LPSTR lpszA;
    SBinary bin;
    LPWSTR lpszW;
    LPGUID lpguid;
    LARGE_INTEGER li;
    SShortArray MVi;
    SLongArray MVl;
    SBinaryArray MVbin;
    SLPSTRArray MVszA;
    SWStringArray MVszW;
    SCODE err;
    LONG x;
} __UPV;

typedef struct _SPropValue {
    ULONG ulPropTag;
    ULONG dwAlignPad;
    union _PV Value;
} SPropValue, *LPSPropValue;

typedef struct _SPropTagArray {
    ULONG cValues;
    ULONG aulPropTag[MAPI_DIM];
} SPropTagArray, *LPSPropTagArray;

#define CbNewSPropTagArray(_ctag) (offsetof(SPropTagArray, aulPropTag) + (_ctag) * sizeof(ULONG))
#define SizedSPropTagArray(_ctag, _name) \
    struct _SPropTagArray_##_name {      \
        ULONG cValues;                   \
        ULONG aulPropTag[_ctag];         \
    } _name

typedef struct _SPropProblem {
    ULONG ulIndex;
    ULONG ulPropTag;
    SCODE scode;
} SPropProblem, *LPSPropProblem;

typedef struct _SPropProblemArray {
    ULONG cProblem;
    SPropProblem aProblem[MAPI_DIM];
} SPropProblemArray, *LPSPropProblemArray;

// Table rows
typedef struct _SRow {
    ULONG ulAdrEntryPad;
    ULONG cValues;
    LPSPropValue lpProps;
} SRow, *LPSRow;

typedef struct _SRowSet {
    ULONG cRows;
    SRow aRow[MAPI_DIM];
} SRowSet, *LPSRowSet;

#define CbNewSRowSet(_crow) (offsetof(SRowSet, aRow) + (_crow) * sizeof(SRow))

typedef struct _SSortOrder {
    ULONG ulPropTag;
    ULONG ulOrder;
} SSortOrder, *LPSSortOrder;

typedef struct _SSortOrderSet {
    ULONG cSorts;
    ULONG cCategories;
    ULONG cExpanded;
    SSortOrder aSort[MAPI_DIM];
} SSortOrderSet, *LPSSortOrderSet;

typedef struct _SRestriction SRestriction, *LPSRestriction;
typedef ULONG BOOKMARK;
#define BOOKMARK_BEGINNING ((BOOKMARK)0)
#define BOOKMARK_CURRENT   ((BOOKMARK)1)
#define BOOKMARK_END       ((BOOKMARK)2)

typedef struct _MAPIERROR {
    ULONG ulVersion;
    LPWSTR lpszError;
    LPWSTR lpszComponent;
    ULONG ulLowLevelError;
    ULONG ulContext;
} MAPIERROR, *LPMAPIERROR;

typedef struct _MAPINAMEID MAPINAMEID, *LPMAPINAMEID;
typedef struct _ADRLIST ADRLIST, *LPADRLIST;
typedef struct _SNotification NOTIFICATION, *LPNOTIFICATION;

// Flags
#define MAPI_UNICODE         ((ULONG)0x80000000)
#define MAPI_MODIFY          ((ULONG)0x00000001)
#define MAPI_ACCESS_MODIFY   ((ULONG)0x00000001)
#define MAPI_ACCESS_READ     ((ULONG)0x00000002)
#define MAPI_DEFERRED_ERRORS ((ULONG)0x00000008)
#define MAPI_BEST_ACCESS     ((ULONG)0x00000010)
#define MAPI_DIALOG          ((ULONG)0x00000008)
#define MESSAGE_MOVE         ((ULONG)0x00000001)
#define MESSAGE_DIALOG       ((ULONG)0x00000002)
#define KEEP_OPEN_READONLY   ((ULONG)0x00000001)
#define KEEP_OPEN_READWRITE  ((ULONG)0x00000002)
#define FORCE_SAVE           ((ULONG)0x00000004)
#define TBL_ASYNC            ((ULONG)0x00000001)
#define TBL_BATCH            ((ULONG)0x00000002)
#define TBL_NOADVANCE        ((ULONG)0x00000001)
#define TABLE_SORT_ASCEND    ((ULONG)0x00000000)
#define TABLE_SORT_DESCEND   ((ULONG)0x00000001)

// Object types
#define MAPI_STORE    ((ULONG)0x00000001)
#define MAPI_ADDRBOOK ((ULONG)0x00000002)
#define MAPI_FOLDER   ((ULONG)0x00000003)
#define MAPI_ABCONT   ((ULONG)0x00000004)
#define MAPI_MESSAGE  ((ULONG)0x00000005)
#define MAPI_MAILUSER ((ULONG)0x00000006)
#define MAPI_ATTACH   ((ULONG)0x00000007)

// Message flags (PR_MESSAGE_FLAGS)
#define MSGFLAG_READ       ((ULONG)0x00000001)
#define MSGFLAG_UNMODIFIED ((ULONG)0x00000002)
#define MSGFLAG_SUBMIT     ((ULONG)0x00000004)
#define MSGFLAG_UNSENT     ((ULONG)0x00000008)
#define MSGFLAG_HASATTACH  ((ULONG)0x00000010)
#define MSGFLAG_FROMME     ((ULONG)0x00000020)

// Notifications
#define fnevCriticalError  ((ULONG)0x00000001)
#define fnevNewMail        ((ULONG)0x00000002)
#define fnevObjectCreated  ((ULONG)0x00000004)
#define fnevObjectDeleted  ((ULONG)0x00000008)
#define fnevObjectModified ((ULONG)0x00000010)
#define fnevObjectMoved    ((ULONG)0x00000020)
#define fnevObjectCopied   ((ULONG)0x00000040)
#define fnevSearchComplete ((ULONG)0x00000080)
#define fnevTableModified  ((ULONG)0x00000100)

typedef struct _ERROR_NOTIFICATION {
    ULONG cbEntryID;
    LPENTRYID lpEntryID;
    SCODE scode;
    ULONG ulFlags;
    LPMAPIERROR lpMAPIError;
} ERROR_NOTIFICATION;

typedef struct _NEWMAIL_NOTIFICATION {
    ULONG cbEntryID;
    LPENTRYID lpEntryID;
    ULONG cbParentID;
    LPENTRYID lpParentID;
    ULONG ulFlags;
    LPWSTR lpszMessageClass;
    ULONG ulMessageFlags;
} NEWMAIL_NOTIFICATION;

typedef struct _OBJECT_NOTIFICATION {
    ULONG cbEntryID;
    LPENTRYID lpEntryID;
    ULONG ulObjType;
    ULONG cbParentID;
    LPENTRYID lpParentID;
    ULONG cbOldID;
    LPENTRYID lpOldID;
    ULONG cbOldParentID;
    LPENTRYID lpOldParentID;
    LPSPropTagArray lpPropTagArray;
} OBJECT_NOTIFICATION;

typedef struct _TABLE_NOTIFICATION {
    ULONG ulTableEvent;
    HRESULT hResult;
    SPropValue propIndex;
    SPropValue propPrior;
    SRow row;
    ULONG ulPad;
} TABLE_NOTIFICATION;

struct _SNotification {
    ULONG ulEventType;
    ULONG ulAlignPad;
    union {
        ERROR_NOTIFICATION err;
        NEWMAIL_NOTIFICATION newmail;
        OBJECT_NOTIFICATION obj;
        TABLE_NOTIFICATION tab;
    } info;
};

// Interface identifiers
DEFINE_GUID(IID_IMAPIProp, 0x00020303, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMAPIContainer, 0x0002030B, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMAPIFolder, 0x0002030C, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMessage, 0x00020307, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMsgStore, 0x00020306, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMAPITable, 0x00020301, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);
DEFINE_GUID(IID_IMAPIAdviseSink, 0x00020302, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46);

struct IMAPITable;
struct IMAPIAdviseSink;
struct IMAPIProgress;
struct IMAPIFolder;
struct IMessage;
typedef IMAPITable* LPMAPITABLE;
typedef IMAPIAdviseSink* LPMAPIADVISESINK;
typedef IMAPIProgress* LPMAPIPROGRESS;
typedef IMAPIFolder* LPMAPIFOLDER;
typedef IMessage* LPMESSAGE;

MIDL_INTERFACE("00020302-0000-0000-C000-000000000046") IMAPIAdviseSink : public IUnknown {
    MAPIMETHOD_(ULONG, OnNotify)(ULONG cNotif, LPNOTIFICATION lpNotifications) PURE;
};

MIDL_INTERFACE("00020303-0000-0000-C000-000000000046") IMAPIProp : public IUnknown {
    MAPIMETHOD(GetLastError)(HRESULT hResult, ULONG ulFlags, LPMAPIERROR * lppMAPIError) PURE;
    MAPIMETHOD(SaveChanges)(ULONG ulFlags) PURE;
    MAPIMETHOD(GetProps)
    (LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG * lpcValues, LPSPropValue * lppPropArray) PURE;
    MAPIMETHOD(GetPropList)(ULONG ulFlags, LPSPropTagArray * lppPropTagArray) PURE;
    MAPIMETHOD(OpenProperty)
    (ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags, LPUNKNOWN * lppUnk) PURE;
    MAPIMETHOD(SetProps)(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray * lppProblems) PURE;
    MAPIMETHOD(DeleteProps)(LPSPropTagArray lpPropTagArray, LPSPropProblemArray * lppProblems) PURE;
    MAPIMETHOD(CopyTo)
    (ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps, ULONG_PTR ulUIParam,
     LPMAPIPROGRESS lpProgress, LPCIID lpInterface, LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray * lppProblems)
        PURE;
    MAPIMETHOD(CopyProps)
    (LPSPropTagArray lpIncludeProps, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, LPCIID lpInterface,
     LPVOID lpDestObj, ULONG ulFlags, LPSPropProblemArray * lppProblems) PURE;
    MAPIMETHOD(GetNamesFromIDs)
    (LPSPropTagArray * lppPropTags, LPGUID lpPropSetGuid, ULONG ulFlags, ULONG * lpcPropNames,
     LPMAPINAMEID * *lpppPropNames) PURE;
    MAPIMETHOD(GetIDsFromNames)
    (ULONG cPropNames, LPMAPINAMEID * lppPropNames, ULONG ulFlags, LPSPropTagArray * lppPropTags) PURE;
};
typedef IMAPIProp* LPMAPIPROP;

MIDL_INTERFACE("00020301-0000-0000-C000-000000000046") IMAPITable : public IUnknown {
    MAPIMETHOD(GetLastError)(HRESULT hResult, ULONG ulFlags, LPMAPIERROR * lppMAPIError) PURE;
    MAPIMETHOD(Advise)(ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink, ULONG * lpulConnection) PURE;
    MAPIMETHOD(Unadvise)(ULONG ulConnection) PURE;
    MAPIMETHOD(GetStatus)(ULONG * lpulTableStatus, ULONG * lpulTableType) PURE;
    MAPIMETHOD(SetColumns)(LPSPropTagArray lpPropTagArray, ULONG ulFlags) PURE;
    MAPIMETHOD(QueryColumns)(ULONG ulFlags, LPSPropTagArray * lpPropTagArray) PURE;
    MAPIMETHOD(GetRowCount)(ULONG ulFlags, ULONG * lpulCount) PURE;
    MAPIMETHOD(SeekRow)(BOOKMARK bkOrigin, LONG lRowCount, LONG * lplRowsSought) PURE;
    MAPIMETHOD(SeekRowApprox)(ULONG ulNumerator, ULONG ulDenominator) PURE;
    MAPIMETHOD(QueryPosition)(ULONG * lpulRow, ULONG * lpulNumerator, ULONG * lpulDenominator) PURE;
    MAPIMETHOD(FindRow)(LPSRestriction lpRestriction, BOOKMARK bkOrigin, ULONG ulFlags) PURE;
    MAPIMETHOD(Restrict)(LPSRestriction lpRestriction, ULONG ulFlags) PURE;
    MAPIMETHOD(CreateBookmark)(BOOKMARK * lpbkPosition) PURE;
    MAPIMETHOD(FreeBookmark)(BOOKMARK bkPosition) PURE;
    MAPIMETHOD(SortTable)(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) PURE;
    MAPIMETHOD(QuerySortOrder)(LPSSortOrderSet * lppSortCriteria) PURE;
    MAPIMETHOD(QueryRows)(LONG lRowCount, ULONG ulFlags, LPSRowSet * lppRows) PURE;
    MAPIMETHOD(Abort)() PURE;
    MAPIMETHOD(ExpandRow)
    (ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulRowCount, ULONG ulFlags, LPSRowSet * lppRows,
     ULONG * lpulMoreRows) PURE;
    MAPIMETHOD(CollapseRow)(ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulFlags, ULONG * lpulRowCount) PURE;
    MAPIMETHOD(WaitForCompletion)(ULONG ulFlags, ULONG ulTimeout, ULONG * lpulTableStatus) PURE;
    MAPIMETHOD(GetCollapseState)
    (ULONG ulFlags, ULONG cbInstanceKey, LPBYTE lpbInstanceKey, ULONG * lpcbCollapseState, LPBYTE * lppbCollapseState)
        PURE;
    MAPIMETHOD(SetCollapseState)
    (ULONG ulFlags, ULONG cbCollapseState, LPBYTE pbCollapseState, BOOKMARK * lpbkLocation) PURE;
};

MIDL_INTERFACE("0002030B-0000-0000-C000-000000000046") IMAPIContainer : public IMAPIProp {
    MAPIMETHOD(GetContentsTable)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(GetHierarchyTable)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(OpenEntry)
    (ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG * lpulObjType, LPUNKNOWN * lppUnk)
        PURE;
    MAPIMETHOD(SetSearchCriteria)(LPSRestriction lpRestriction, LPENTRYLIST lpContainerList, ULONG ulSearchFlags) PURE;
    MAPIMETHOD(GetSearchCriteria)
    (ULONG ulFlags, LPSRestriction * lppRestriction, LPENTRYLIST * lppContainerList, ULONG * lpulSearchState) PURE;
};

MIDL_INTERFACE("0002030C-0000-0000-C000-000000000046") IMAPIFolder : public IMAPIContainer {
    MAPIMETHOD(CreateMessage)(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE * lppMessage) PURE;
    MAPIMETHOD(CopyMessages)
    (LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress,
     ULONG ulFlags) PURE;
    MAPIMETHOD(DeleteMessages)
    (LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
    MAPIMETHOD(CreateFolder)
    (ULONG ulFolderType, LPWSTR lpszFolderName, LPWSTR lpszFolderComment, LPCIID lpInterface, ULONG ulFlags,
     LPMAPIFOLDER * lppFolder) PURE;
    MAPIMETHOD(CopyFolder)
    (ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, LPVOID lpDestFolder, LPWSTR lpszNewFolderName,
     ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
    MAPIMETHOD(DeleteFolder)
    (ULONG cbEntryID, LPENTRYID lpEntryID, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
    MAPIMETHOD(SetReadFlags)(LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
    MAPIMETHOD(GetMessageStatus)(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags, ULONG * lpulMessageStatus) PURE;
    MAPIMETHOD(SetMessageStatus)
    (ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulNewStatus, ULONG ulNewStatusMask, ULONG * lpulOldStatus) PURE;
    MAPIMETHOD(SaveContentsSort)(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) PURE;
    MAPIMETHOD(EmptyFolder)(ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
};

MIDL_INTERFACE("00020307-0000-0000-C000-000000000046") IMessage : public IMAPIProp {
    MAPIMETHOD(GetAttachmentTable)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(OpenAttach)(ULONG ulAttachmentNum, LPCIID lpInterface, ULONG ulFlags, LPUNKNOWN * lppAttach) PURE;
    MAPIMETHOD(CreateAttach)(LPCIID lpInterface, ULONG ulFlags, ULONG * lpulAttachmentNum, LPUNKNOWN * lppAttach) PURE;
    MAPIMETHOD(DeleteAttach)(ULONG ulAttachmentNum, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress, ULONG ulFlags) PURE;
    MAPIMETHOD(GetRecipientTable)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(ModifyRecipients)(ULONG ulFlags, LPADRLIST lpMods) PURE;
    MAPIMETHOD(SubmitMessage)(ULONG ulFlags) PURE;
    MAPIMETHOD(SetReadFlag)(ULONG ulFlags) PURE;
};

MIDL_INTERFACE("00020306-0000-0000-C000-000000000046") IMsgStore : public IMAPIProp {
    MAPIMETHOD(Advise)
    (ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink, ULONG * lpulConnection)
        PURE;
    MAPIMETHOD(Unadvise)(ULONG ulConnection) PURE;
    MAPIMETHOD(CompareEntryIDs)
    (ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2, ULONG ulFlags, ULONG * lpulResult)
        PURE;
    MAPIMETHOD(OpenEntry)
    (ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG * lpulObjType, LPUNKNOWN * lppUnk)
        PURE;
    MAPIMETHOD(SetReceiveFolder)(LPWSTR lpszMessageClass, ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID) PURE;
    MAPIMETHOD(GetReceiveFolder)
    (LPWSTR lpszMessageClass, ULONG ulFlags, ULONG * lpcbEntryID, LPENTRYID * lppEntryID, LPWSTR * lppszExplicitClass)
        PURE;
    MAPIMETHOD(GetReceiveFolderTable)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(StoreLogoff)(ULONG * lpulFlags) PURE;
    MAPIMETHOD(AbortSubmit)(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulFlags) PURE;
    MAPIMETHOD(GetOutgoingQueue)(ULONG ulFlags, LPMAPITABLE * lppTable) PURE;
    MAPIMETHOD(SetLockState)(LPMESSAGE lpMessage, ULONG ulLockState) PURE;
    MAPIMETHOD(FinishedMsg)(ULONG ulFlags, ULONG cbEntryID, LPENTRYID lpEntryID) PURE;
    MAPIMETHOD(NotifyNewMail)(LPNOTIFICATION lpNotification) PURE;
};
typedef IMsgStore* LPMDB;
