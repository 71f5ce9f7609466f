// Owners of the program's user-interface resources, released on every path.
#pragma once

#include <windows.h>

#include <utility>

// A menu loaded from the resources (or created); destroyed with its sub-menus.
class TMenu {
public:
    TMenu() = default;
    explicit TMenu(HMENU menu) : Menu(menu) {}
    TMenu(TMenu&& other) noexcept : Menu(std::exchange(other.Menu, nullptr)) {}
    TMenu& operator=(TMenu&& other) noexcept {
        std::swap(Menu, other.Menu);
        return *this;
    }
    TMenu(const TMenu&) = delete;
    TMenu& operator=(const TMenu&) = delete;
    ~TMenu() {
        if (Menu)
            DestroyMenu(Menu);
    }
    HMENU Get() const { return Menu; }

private:
    HMENU Menu = nullptr;
};
