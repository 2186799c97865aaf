// Attribute access on libxml2 element nodes.
#ifndef COMPONENT_XML_ATTRIBUTE_H
#define COMPONENT_XML_ATTRIBUTE_H

#include <libxml/tree.h>

#include <string>

// The value of the element's last attribute called name, widened byte by
// byte; empty when there is none.
std::wstring GetXmlAttribute(xmlNodePtr element, const char* name);

#endif
