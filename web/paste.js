// What reaches the VIN box by typing, pasting or dropping: a VIN as people copy
// it from a tag ("A8A855H 100001", "1AMCM38-77BK100021") loses its blanks and
// dashes, as typed and as pasted; a list goes to the list instead.

const BLANKS_AND_DASHES = /[\s\u00a0-]+/g;

export const cleanVin = (text) => text.replace(BLANKS_AND_DASHES, '');

export function looksLikeList(text) {
  return /[\r\n,;\t]/.test(text.trim()) || cleanVin(text).length > 17;
}

// Drops the blanks and dashes typed into the box, the cursor staying where it
// was among the other characters. True when something was dropped.
export function dropTypedBlanks(input) {
  const { value } = input;
  if (!/[\s\u00a0-]/.test(value)) return false;
  const caret = cleanVin(value.slice(0, input.selectionStart ?? value.length)).length;
  input.value = cleanVin(value);
  input.setSelectionRange(caret, caret);
  return true;
}

// Pasting into the VIN box inserts at the cursor like any text box; a list goes
// to takeList(text) instead. The browser pastes by itself where nothing needs
// cleaning.
export function pasteHandler(input, takeList) {
  return (event) => {
    const text = event.clipboardData?.getData('text') ?? '';
    if (looksLikeList(text)) {
      event.preventDefault();
      takeList(text);
      return;
    }
    const clean = cleanVin(text);
    if (clean === text) return;
    event.preventDefault();
    input.focus();
    // insertText keeps the box's undo history and fires 'input'.
    if (!document.execCommand('insertText', false, clean)) {
      input.setRangeText(clean, input.selectionStart, input.selectionEnd, 'end');
      input.dispatchEvent(new Event('input'));
    }
  };
}

// A paste into the list's box of more than this many characters goes to the list
// without the box: laying out a long text in it blocks the page for seconds.
const LONG_PASTE = 20000;

export function listPasteHandler(takeList) {
  return (event) => {
    const text = event.clipboardData?.getData('text') ?? '';
    if (text.length <= LONG_PASTE) return;
    event.preventDefault();
    takeList(text);
  };
}
