#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/stat.h>

#include <cstring>

#include "fchba/fixed_paths.h"
#include "component/records.h"
#include "component/text_convert.h"
#include "component/xml_attribute.h"

namespace {

bool NameIs(xmlNodePtr node, const char* name) {
  return node->name != nullptr && std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// Only elements count: a document type declaration carries the root's name
// too, and walking into it would skip the whole document.
bool IsElement(xmlNodePtr node, const char* name) {
  return node->type == XML_ELEMENT_NODE && NameIs(node, name);
}

// The element's first child when it is a CDATA section; otherwise the target
// keeps its value.
void TakeCdata(xmlNodePtr element, std::wstring& target) {
  xmlNodePtr first = element->children;
  if (first == nullptr || first->type != XML_CDATA_SECTION_NODE) return;
  const char* text = reinterpret_cast<const char*>(first->content);
  target = WidenBytes(text ? text : "");
}

RefDevice ReadDevice(xmlNodePtr element) {
  RefDevice device;
  struct Field {
    const char* name;
    std::wstring RefDevice::*member;
  };
  static const Field kFields[] = {
      {"type", &RefDevice::type},         {"device_id", &RefDevice::device_id},
      {"model", &RefDevice::model},       {"firmware", &RefDevice::firmware},
      {"bios", &RefDevice::bios},         {"boot", &RefDevice::boot},
      {"duration", &RefDevice::duration},
  };
  for (xmlNodePtr child = element->children; child != nullptr; child = child->next) {
    for (const Field& field : kFields) {
      if (!IsElement(child, field.name)) continue;
      device.*field.member = GetXmlAttribute(child, "value");
      if (field.member == &RefDevice::bios && device.bios.empty()) device.biosFlag = 0;
    }
  }
  return device;
}

}  // namespace

std::wstring GetXmlAttribute(xmlNodePtr element, const char* name) {
  std::wstring value;
  for (xmlAttrPtr attr = element->properties; attr != nullptr; attr = attr->next) {
    if (attr->name == nullptr ||
        std::strcmp(reinterpret_cast<const char*>(attr->name), name) != 0) {
      continue;
    }
    const xmlNode* text = attr->children;
    const char* content = text ? reinterpret_cast<const char*>(text->content) : nullptr;
    value = WidenBytes(content ? content : "");
  }
  return value;
}

bool ReferenceData::Load() {
  struct stat status;
  if (stat(FixedPaths::kReferenceFile, &status) != 0) return false;
  xmlInitParser();
  xmlDocPtr doc = xmlParseFile(FixedPaths::kReferenceFile);
  if (doc == nullptr) {
    xmlCleanupParser();
    return false;
  }
  // One cursor over the top level; the root element hands the walk over to
  // its children, so nodes after the root are not visited.
  for (xmlNodePtr node = doc->children; node != nullptr;) {
    if (IsElement(node, "trovex_fchba_reference")) {
      node = node->children;
      continue;
    }
    if (IsElement(node, "discovery_app_path")) {
      TakeCdata(node, discoveryAppPath);
    } else if (IsElement(node, "installer_app_path")) {
      TakeCdata(node, installerAppPath);
    } else if (IsElement(node, "devices")) {
      for (xmlNodePtr child = node->children; child != nullptr; child = child->next) {
        if (IsElement(child, "device")) devices.push_back(ReadDevice(child));
      }
    }
    node = node->next;
  }
  xmlFreeDoc(doc);
  xmlCleanupParser();
  return true;
}
