// Registers the extended controls' component classes so that form data can
// create them by name; call once at start, after the framework's own.
#pragma once

namespace kv {

void RegisterKvClasses();

}  // namespace kv
