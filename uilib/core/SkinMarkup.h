#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

class CSkinMarkup;
class CZipReader;

// Text encodings a skin document may arrive in.
enum class SkinEncoding {
    Utf8,
};

// A position in a loaded document; valid only while the document stays loaded.
class CSkinMarkupNode {
public:
    static const int kMaxAttributes = 64;

    CSkinMarkupNode();

    bool IsValid() const { return m_doc != nullptr; }
    CSkinMarkupNode FirstChild() const;
    CSkinMarkupNode NextSibling() const;
    // Null for an invalid node.
    const wchar_t* Name() const;
    bool HasChildren() const;

    bool HasAttributes() const;
    int AttributeCount() const;
    // The empty text for an index out of range; null for an invalid node.
    const wchar_t* AttributeName(int index) const;
    const wchar_t* AttributeValue(int index) const;
    // Copies the value of the first attribute named name (ignoring case),
    // cut to capacity - 1 characters and always terminated.
    bool CopyAttributeValue(const wchar_t* name, wchar_t* buffer, size_t capacity) const;

private:
    friend class CSkinMarkup;
    CSkinMarkupNode(CSkinMarkup* doc, int32_t element);
    void LocateAttributes() const;

    int32_t m_element;
    CSkinMarkup* m_doc;
    mutable bool m_located;
    mutable int32_t m_attributeCount;
    mutable uint32_t m_attributes[kMaxAttributes][2];
};

// In-place parser for the skin's XML subset: one wide copy of the document
// holds every name and value, terminated and entity-decoded where it stands.
class CSkinMarkup {
public:
    CSkinMarkup();
    explicit CSkinMarkup(const wchar_t* xml);
    ~CSkinMarkup();
    CSkinMarkup(const CSkinMarkup&) = delete;
    CSkinMarkup& operator=(const CSkinMarkup&) = delete;

    bool LoadFromText(const wchar_t* xml);
    bool LoadFromBytes(const void* bytes, size_t size, SkinEncoding encoding = SkinEncoding::Utf8);
#ifdef _WIN32
    // Reads a whole file by its full path: at most 4 MiB.
    bool LoadFromDiskFile(const wchar_t* path, SkinEncoding encoding = SkinEncoding::Utf8);
#endif
    // Reads an entry of an open archive; backslashes in the name count as
    // slashes and letter case is ignored. At most 4 MiB.
    bool LoadFromZipEntry(CZipReader* zip, const wchar_t* name, SkinEncoding encoding = SkinEncoding::Utf8);
    void ReleaseDocument();

    CSkinMarkupNode Root();

    // The last failure; the location is empty for file errors.
    const wchar_t* LastErrorMessage() const { return m_errorMessage; }
    const wchar_t* LastErrorLocation() const { return m_errorLocation; }

    // Largest file or archive entry accepted as a document.
    static const size_t kMaxDocumentBytes = 0x400000;
    // Deepest element nesting accepted: whatever walks the tree may recurse.
    static const int kMaxNestingDepth = 256;

private:
    friend class CSkinMarkupNode;

    struct Element {
        uint32_t name;
        uint32_t firstChild;
        uint32_t nextSibling;
        uint32_t parent;
        uint32_t content;
    };

    class Parser;

    bool ParseDocument();
    // Records the message and up to 49 characters of the text at the failure.
    bool Fail(const wchar_t* message, const wchar_t* location, size_t available);

    wchar_t* m_text;
    size_t m_length;
    Element* m_elements;
    uint32_t m_elementCount;
    uint32_t m_elementCapacity;
    wchar_t m_errorMessage[100];
    wchar_t m_errorLocation[50];
};

} // namespace SkinUI
