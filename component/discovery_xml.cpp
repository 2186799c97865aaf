#include <libxml/parser.h>
#include <libxml/tree.h>

#include "component/base_cmp.h"
#include "component/text_convert.h"

namespace {

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }

xmlNodePtr AddChild(xmlNodePtr parent, const char* name) {
  return xmlNewChild(parent, nullptr, X(name), nullptr);
}

void AddValue(xmlNodePtr parent, const char* name, const std::wstring& value) {
  xmlNodePtr element = AddChild(parent, name);
  xmlNewProp(element, X("value"), X(NarrowLowBytes(value).c_str()));
}

// The elements of one "fw_item", in file order.
struct ItemField {
  const char* name;
  std::wstring FwItem::*member;
};
const ItemField kItemFields[] = {
    {"type", &FwItem::type},       {"firmware_id", &FwItem::firmware_id},
    {"version", &FwItem::version}, {"active_version", &FwItem::active_version},
    {"action", &FwItem::action},   {"duration", &FwItem::duration},
    {"message", &FwItem::message}, {"shared", &FwItem::shared},
};

}  // namespace

bool CBaseCmp::WriteDiscoveryXml() {
  xmlDocPtr doc = xmlNewDoc(nullptr);
  if (doc == nullptr) return false;
  xmlNodePtr root = xmlNewNode(nullptr, X("qv_rom_discovery"));
  xmlNewProp(root, X("version"), X("2.0.0.0"));
  xmlDocSetRootElement(doc, root);

  AddValue(root, "type", discovery.type);
  AddValue(root, "alt_name", discovery.alt_name);
  AddValue(root, "version", discovery.version);
  AddValue(root, "takes_effect", discovery.takes_effect);
  xmlNodePtr devices = AddChild(root, "devices");
  for (const DeviceInfo& device : discovery.devices) {
    xmlNodePtr node = AddChild(devices, "device");
    AddValue(node, "device_id", device.device_id);
    AddValue(node, "product_id", device.product_id);
    AddValue(node, "busnumber", device.busnumber);
    AddValue(node, "funcnumber", device.funcnumber);
    for (const FwItem& item : device.items) {
      xmlNodePtr fw = AddChild(node, "fw_item");
      for (const ItemField& field : kItemFields) AddValue(fw, field.name, item.*field.member);
    }
  }
  // A file that cannot be written is a failure, so the run says so.
  int written = xmlSaveFormatFile(discoveryPath.c_str(), doc, 1);
  xmlFreeDoc(doc);
  return written >= 0;
}
