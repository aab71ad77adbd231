#include "WindowTitle.h"

#include <X11/Xutil.h>

#include <memory>

// Qt sets the UTF-8 title in _NET_WM_NAME; WM_NAME is read where that is missing.
std::string windowTitle(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &left, &data) == Success &&
        data) {
        const std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
        if (type == utf8 && format == 8)
            return {reinterpret_cast<const char*>(data), count};
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || !name)
        return {};
    const std::unique_ptr<char, int (*)(void*)> owned(name, XFree);
    return name;
}
