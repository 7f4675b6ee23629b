#include "registry_value.h"

LONG RegistryValue::Read(HKEY key, const wchar_t* name)
{
    Drop();
    if (key == nullptr)
        return ERROR_FILE_NOT_FOUND;
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = query_(key, name, nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return result;
        if (size > 0)
        {
            data_ = static_cast<BYTE*>(HeapAlloc(heap_, HEAP_ZERO_MEMORY, size));
            if (data_ == nullptr)
                return ERROR_NOT_ENOUGH_MEMORY;
            allocated_ = size;
            // On ERROR_MORE_DATA the call writes the value's new, larger size into `size`:
            // the block is still `allocated_` bytes, and only that is ever wiped or read.
            result = query_(key, name, nullptr, &type, data_, &size);
            if (result == ERROR_MORE_DATA)
            {
                Drop();
                continue;
            }
            if (result != ERROR_SUCCESS)
            {
                Drop();
                return result;
            }
        }
        present_ = true;
        type_ = type;
        size_ = size <= allocated_ ? size : allocated_;
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

bool RegistryValue::Number(DWORD& number) const
{
    if (!present_ || type_ != REG_DWORD || size_ != sizeof number)
        return false;
    CopyMemory(&number, data_, sizeof number);
    return true;
}

LONG RegistryValue::Restore(HKEY key, const wchar_t* name) const
{
    if (present_)
        return RegSetValueExW(key, name, 0, type_, data_, size_);
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

void RegistryValue::Drop()
{
    if (data_ != nullptr)
    {
        SecureZeroMemory(data_, allocated_);
        HeapFree(heap_, 0, data_);
    }
    data_ = nullptr;
    allocated_ = 0;
    size_ = 0;
    present_ = false;
    type_ = REG_NONE;
}
