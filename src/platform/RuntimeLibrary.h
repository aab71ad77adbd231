#pragma once

#include <QLoggingCategory>

#include <dlfcn.h>

#include <initializer_list>

// A library opened at run time rather than linked, so that loading it never delays the start.
// `Functions` holds one pointer per function; `resolveAll(handle, functions)` fills them with
// resolveFunction and says whether all were found.
template <class Function> bool resolveFunction(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

// Opens the first of `names` that has every function, once; it stays open for the rest of the
// run. nullptr when none has; `log` is told why.
template <class Functions, class Resolve>
const Functions* openRuntimeLibrary(std::initializer_list<const char*> names, Resolve resolveAll,
                                    const QLoggingCategory& log) {
    static Functions functions;
    for (const char* name : names) {
        void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            qCInfo(log) << "cannot open" << name << ":" << dlerror();
            continue;
        }
        if (resolveAll(handle, functions))
            return &functions;
        qCInfo(log) << name << "lacks a function that is needed";
        dlclose(handle);
    }
    return nullptr;
}
