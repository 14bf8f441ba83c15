#include "loadmessage.h"

#include "messages.h"

LoadErrorMessage loadErrorMessage(LoadError error)
{
    switch (error) {
    case LoadError::IncorrectFilesize:
        return {Messages::IncorrectFilesize, Messages::ErrorTitle, false};
    case LoadError::IncompatibleEntries:
        return {Messages::IncompatibleEntries, Messages::IncompatibleEntriesTitle, true};
    case LoadError::None:
    case LoadError::LoadFailed:
        break;
    }
    return {Messages::ErrorLoading, Messages::ErrorTitle, true};
}
