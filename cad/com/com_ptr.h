// Owning wrappers for the COM resources the backend handles: interface
// pointers, BSTRs, VARIANTs, SAFEARRAYs and EXCEPINFOs. Each frees what it
// holds on every path, so a failing call leaks nothing.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstddef>
#include <string_view>
#include <utility>

namespace tendra::cad::com {

template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes over a reference the caller already owns.
    static ComPtr adopt(Interface* raw) {
        ComPtr result;
        result.raw_ = raw;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr share(Interface* raw) {
        if (raw) {
            raw->AddRef();
        }
        return adopt(raw);
    }
    ComPtr(const ComPtr& other) : raw_(other.raw_) {
        if (raw_) {
            raw_->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(raw_, other.raw_);
        return *this;
    }
    ~ComPtr() { reset(); }

    void reset() {
        if (Interface* old = std::exchange(raw_, nullptr)) {
            old->Release();
        }
    }
    Interface* get() const { return raw_; }
    Interface* operator->() const { return raw_; }
    explicit operator bool() const { return raw_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    Interface** put() {
        reset();
        return &raw_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    // Gives up ownership; the caller now owns the reference.
    Interface* detach() { return std::exchange(raw_, nullptr); }

    template <typename Other>
    HRESULT queryInterface(REFIID iid, ComPtr<Other>& result) const {
        return raw_->QueryInterface(iid, result.putVoid());
    }

  private:
    Interface* raw_ = nullptr;
};

class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text)
        : raw_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(raw_, other.raw_);
        return *this;
    }
    ~Bstr() { SysFreeString(raw_); }

    BSTR get() const { return raw_; }
    BSTR* put() {
        SysFreeString(std::exchange(raw_, nullptr));
        return &raw_;
    }
    BSTR detach() { return std::exchange(raw_, nullptr); }
    std::wstring_view view() const { return viewOf(raw_); }
    static std::wstring_view viewOf(BSTR text) { return {text ? text : L"", SysStringLen(text)}; }

  private:
    BSTR raw_ = nullptr;
};

class Variant : public VARIANT {
  public:
    Variant() { VariantInit(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept {
        VariantInit(this);
        std::swap(static_cast<VARIANT&>(*this), static_cast<VARIANT&>(other));
    }
    Variant& operator=(Variant&& other) noexcept {
        std::swap(static_cast<VARIANT&>(*this), static_cast<VARIANT&>(other));
        return *this;
    }
    ~Variant() { VariantClear(this); }

    void clear() { VariantClear(this); }
};

// A SAFEARRAY the caller owns until it is handed to a VARIANT.
class SafeArray {
  public:
    SafeArray() = default;
    explicit SafeArray(SAFEARRAY* raw) : raw_(raw) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SafeArray(SafeArray&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    ~SafeArray() {
        if (raw_) {
            SafeArrayDestroy(raw_);
        }
    }
    SAFEARRAY* get() const { return raw_; }
    SAFEARRAY* detach() { return std::exchange(raw_, nullptr); }
    explicit operator bool() const { return raw_ != nullptr; }

  private:
    SAFEARRAY* raw_ = nullptr;
};

// Direct access to an array's elements for as long as it lives.
class SafeArrayData {
  public:
    explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
        result_ = SafeArrayAccessData(array_, &data_);
    }
    SafeArrayData(const SafeArrayData&) = delete;
    SafeArrayData& operator=(const SafeArrayData&) = delete;
    ~SafeArrayData() {
        if (SUCCEEDED(result_)) {
            SafeArrayUnaccessData(array_);
        }
    }
    HRESULT result() const { return result_; }
    template <typename Element>
    Element* as() const {
        return static_cast<Element*>(data_);
    }

  private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
    HRESULT result_;
};

struct ExcepInfo : EXCEPINFO {
    ExcepInfo() : EXCEPINFO{} {}
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
    ~ExcepInfo() { clear(); }

    // Frees the texts and empties every field, ready for the next call.
    void clear() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
        static_cast<EXCEPINFO&>(*this) = EXCEPINFO{};
    }
};

class HandleGuard {
  public:
    explicit HandleGuard(HANDLE handle) : handle_(handle) {}
    HandleGuard(const HandleGuard&) = delete;
    HandleGuard& operator=(const HandleGuard&) = delete;
    ~HandleGuard() {
        if (handle_) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }

  private:
    HANDLE handle_;
};

}  // namespace tendra::cad::com
