#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>

namespace tavrin {

// The protocol handler of the command URLs "org.tavrin.korvel:<command>" that the Tavrin menu
// and callers dispatch: each runs on the document of the frame it is asked from.
const char* ProtocolHandlerImplementation();
com::sun::star::uno::Reference<com::sun::star::uno::XInterface> CreateProtocolHandler(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

}  // namespace tavrin
