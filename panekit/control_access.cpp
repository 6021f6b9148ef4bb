// The accessible object of the library's controls: a small COM object that
// answers name, role, state and value itself and hands every other question
// (place, parent, neighbours, hit test) to the standard object the runtime
// makes for any window.
#include "panekit/control_access.h"

#include <new>
#include <oleacc.h>

#include "panekit/gdi_owners.h"

namespace {

using ResultFromObjectFn = LRESULT(WINAPI *)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdObjectFn = HRESULT(WINAPI *)(HWND, LONG, REFIID, void **);
using AllocStringFn = BSTR(WINAPI *)(const OLECHAR *);
using InitializeComFn = HRESULT(WINAPI *)(LPVOID);
using NotifyWinEventFn = void(WINAPI *)(DWORD, HWND, LONG, LONG);

constexpr COLORREF FocusMarkColour = RGB(255, 255, 0); // the thumb's and the lit faces' yellow
constexpr int NameSize = 128;

// The runtime's functions, looked up when the first client asks.
struct Runtime {
    bool lookedUp;
    ResultFromObjectFn resultFromObject;
    CreateStdObjectFn createStdObject;
    AllocStringFn allocString;
    InitializeComFn initializeCom;
} Oleacc;

template <typename Function> Function Find(HMODULE module, const char *name) {
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// Answers whether the system has the accessibility runtime. The libraries
// stay loaded for the life of the process once found.
bool FindRuntime() {
    if (!Oleacc.lookedUp) {
        Oleacc.lookedUp = true;
        HMODULE oleacc = LoadLibraryA("oleacc.dll");
        Oleacc.resultFromObject = Find<ResultFromObjectFn>(oleacc, "LresultFromObject");
        Oleacc.createStdObject = Find<CreateStdObjectFn>(oleacc, "CreateStdAccessibleObject");
        Oleacc.allocString = Find<AllocStringFn>(LoadLibraryA("oleaut32.dll"), "SysAllocString");
        Oleacc.initializeCom = Find<InitializeComFn>(LoadLibraryA("ole32.dll"), "CoInitialize");
    }
    return Oleacc.resultFromObject != nullptr && Oleacc.createStdObject != nullptr &&
           Oleacc.allocString != nullptr;
}

bool IsSelf(const VARIANT &child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT Text(const wchar_t *text, BSTR *result) {
    *result = nullptr;
    if (text[0] == L'\0')
        return S_FALSE;
    *result = Oleacc.allocString(text);
    return *result != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(long number, VARIANT *result) {
    result->vt = VT_I4;
    result->lVal = number;
    return S_OK;
}

class ControlAccessible final : public IAccessible {
  public:
    static IAccessible *Create(HWND control, DescribeControl describe) {
        IAccessible *standard = nullptr;
        if (FAILED(Oleacc.createStdObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void **>(&standard))) ||
            standard == nullptr)
            return nullptr;
        auto *object = new (std::nothrow) ControlAccessible(control, describe, standard);
        if (object == nullptr)
            standard->Release();
        return object;
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID id, void **object) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: the standard object's.
    STDMETHODIMP GetTypeInfoCount(UINT *count) override {
        return standard_->GetTypeInfoCount(count);
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale,
                               DISPID *ids) override {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    STDMETHODIMP Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS *parameters,
                        VARIANT *result, EXCEPINFO *exception, UINT *argument) override {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception,
                                 argument);
    }

    // What the control tells itself.
    STDMETHODIMP get_accName(VARIANT child, BSTR *name) override {
        if (!IsSelf(child))
            return standard_->get_accName(child, name);
        if (!IsWindow(control_))
            return E_FAIL;
        char text[NameSize] = "";
        SendMessageA(control_, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
        wchar_t wide[NameSize] = L"";
        if (MultiByteToWideChar(CP_ACP, 0, text, -1, wide, NameSize) == 0)
            wide[0] = L'\0';
        return Text(wide, name);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR *value) override {
        if (!IsSelf(child))
            return standard_->get_accValue(child, value);
        ControlFacts facts;
        if (!Describe(&facts))
            return E_FAIL;
        return Text(facts.value, value);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT *role) override {
        if (!IsSelf(child))
            return standard_->get_accRole(child, role);
        ControlFacts facts;
        return Describe(&facts) ? Number(facts.role, role) : E_FAIL;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT *state) override {
        if (!IsSelf(child))
            return standard_->get_accState(child, state);
        ControlFacts facts;
        return Describe(&facts) ? Number(facts.state, state) : E_FAIL;
    }

    // Everything else: the standard object's.
    STDMETHODIMP get_accParent(IDispatch **parent) override {
        return standard_->get_accParent(parent);
    }
    STDMETHODIMP get_accChildCount(long *count) override {
        return standard_->get_accChildCount(count);
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch **object) override {
        return standard_->get_accChild(child, object);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR *text) override {
        return standard_->get_accDescription(child, text);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR *text) override {
        return standard_->get_accHelp(child, text);
    }
    STDMETHODIMP get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR *keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    STDMETHODIMP get_accFocus(VARIANT *child) override { return standard_->get_accFocus(child); }
    STDMETHODIMP get_accSelection(VARIANT *children) override {
        return standard_->get_accSelection(children);
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR *action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    STDMETHODIMP accLocation(long *left, long *top, long *width, long *height,
                             VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT *end) override {
        return standard_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT *child) override {
        return standard_->accHitTest(x, y, child);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ControlAccessible(HWND control, DescribeControl describe, IAccessible *standard)
        : control_(control), describe_(describe), standard_(standard) {}
    ~ControlAccessible() { standard_->Release(); }

    // A client may keep the object after the control has gone.
    bool Describe(ControlFacts *facts) {
        if (!IsWindow(control_))
            return false;
        *facts = ControlFacts{};
        describe_(control_, facts);
        return true;
    }

    ULONG references_ = 1;
    HWND control_;
    DescribeControl describe_;
    IAccessible *standard_;
};

// NotifyWinEvent, missing on Windows 95 and NT 4.0 without the add-on.
NotifyWinEventFn WinEventNotifier() {
    static bool lookedUp;
    static NotifyWinEventFn notify;
    if (!lookedUp) {
        lookedUp = true;
        notify = Find<NotifyWinEventFn>(GetModuleHandleA("user32.dll"), "NotifyWinEvent");
    }
    return notify;
}

void Notify(DWORD event, HWND control) {
    if (NotifyWinEventFn notify = WinEventNotifier())
        notify(event, control, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace

long CommonControlState(HWND control) {
    long state = 0;
    if (GetWindowLongA(control, GWL_STYLE) & WS_DISABLED)
        state |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(control))
        state |= STATE_SYSTEM_INVISIBLE;
    if (GetFocus() == control)
        state |= STATE_SYSTEM_FOCUSED;
    return state;
}

LRESULT AnswerGetObject(HWND control, WPARAM flags, LPARAM objectId, DescribeControl describe) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || !FindRuntime())
        return DefWindowProcA(control, WM_GETOBJECT, flags, objectId);
    IAccessible *object = ControlAccessible::Create(control, describe);
    if (object == nullptr)
        return DefWindowProcA(control, WM_GETOBJECT, flags, objectId);
    LRESULT result = Oleacc.resultFromObject(__uuidof(IAccessible), flags, object);
    // A client in another process needs the object marshalled, which asks
    // for COM on this thread; the station starts it only when one asks.
    if (result == static_cast<LRESULT>(CO_E_NOTINITIALIZED) && Oleacc.initializeCom != nullptr &&
        SUCCEEDED(Oleacc.initializeCom(nullptr)))
        result = Oleacc.resultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    if (result < 0)
        return DefWindowProcA(control, WM_GETOBJECT, flags, objectId);
    return result;
}

void NotifyStateChange(HWND control) {
    Notify(EVENT_OBJECT_STATECHANGE, control);
}

void NotifyValueChange(HWND control) {
    Notify(EVENT_OBJECT_VALUECHANGE, control);
}

void DrawFocusMark(HWND control, HDC dc) {
    if (GetFocus() != control || dc == nullptr)
        return;
    RECT client;
    GetClientRect(control, &client);
    int right = client.right - 1;
    int bottom = client.bottom - 1;
    gdi::Pen pen(CreatePen(PS_SOLID, 1, FocusMarkColour));
    gdi::Selection selected(dc, pen.get());
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, right, 0);
    LineTo(dc, right, bottom);
    LineTo(dc, 0, bottom);
    LineTo(dc, 0, 0);
}
