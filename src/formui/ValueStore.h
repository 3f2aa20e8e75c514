#pragma once
// Where a form's remembered values live: one file per form in the "Tavrel"
// folder of the user's application-data folder (per user, and writable
// where the program's own folder may not be). Every failure reads as "no
// values" or is only traced: remembering never stops a form.

#include <string>
#include <vector>

#include "formui/RememberedValues.h"

// "<application data>\Tavrel", from APPDATA or, without it, from the shell;
// empty when neither names a folder.
std::string RememberedValuesFolder();

// The form file's full path, case-folded as the file system compares it,
// the same for every spelling of one file's path (long-path prefix, short
// names, letter case).
std::string FormStoreKey(const std::string& formPath);

// The store file of a form; empty when there is no folder for stores.
std::string RememberedValuesFile(const std::string& formPath);

// The whole store of a form: false (everything empty) when nothing usable
// is stored. Saving writes the file whole or not at all.
bool LoadFormStore(const std::string& formPath, FormStore& store);
bool SaveFormStore(const std::string& formPath, const FormStore& store);

// False (values empty) when nothing usable is stored for the form.
bool LoadRememberedValues(const std::string& formPath, std::vector<RememberedValue>& values);
// Replaces the remembered values; the history and presets stay.
bool StoreRememberedValues(const std::string& formPath, const std::vector<RememberedValue>& values);
// Forgets the remembered values and the run history; presets, saved by the
// user by name, stay. True when nothing of those is stored any more.
bool ForgetRememberedValues(const std::string& formPath);
